// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TableTypes.h"
#include "chess/CBasePoint.h"
#include "chess/MoveRecord.h"
#include "table/CPlayerPanelModel.h"
#include "table/TableView.h"

#include <string>
#include <vector>

namespace kelo {

class CBaseBoard;
class CBoardWindowModel;

// The line of the table window where a move is typed instead of clicked: standard notation (Nf3,
// exd5, O-O, e8=Q, with or without + and #) or coordinates (g1f3, e7e8q). It also answers the
// short questions that a player who cannot see the board asks, each in one line to be read
// out. A move that does not read as exactly one legal move is never sent.
class CMoveBox {
public:
    enum class Reading { Move, Ambiguous, Illegal, NotUnderstood };
    struct MoveReading {
        Reading reading = Reading::NotUnderstood;
        MoveRecord move;
        // The legal moves that fit an ambiguous text.
        std::vector<MoveRecord> candidates;
    };
    struct Answer {
        std::string line;
        // A move went out: the box may be emptied. Otherwise the text stays for mending.
        bool sent = false;
    };

    // What the box's tooltip says.
    static const char* const HELP;

    CMoveBox(CBoardWindowModel& boardWindow, const TableView& table,
             const CPlayerPanelModel& panels)
        : m_boardWindow(boardWindow), m_table(table), m_panels(panels) {}

    // Reads the typed line: a question is answered, a move is sent as a click would send it.
    Answer Enter(const std::string& text);

    // The legal move of the colour that the text names.
    static MoveReading ReadMove(CBaseBoard& board, Colour colour, const std::string& text);
    // Why a reading is not a move, in one line.
    static std::string Explain(CBaseBoard& board, Colour colour, const std::string& text,
                               const MoveReading& reading);

    // The questions, each answered in one line.
    // "l": the last move in the table's move text.
    static std::string LastMove(CBaseBoard& board);
    // "p N", "p k": where the pieces of a kind stand; an upper-case letter is White's.
    static std::string PiecesOf(CBaseBoard& board, char letter);
    // "s a", "s 4": the pieces on a file or a rank.
    static std::string PiecesOn(CBaseBoard& board, char line);
    // "m e2": the legal moves of the piece on the square.
    static std::string MovesOf(CBaseBoard& board, CBasePoint square);
    // A square and what stands there: "e4 白方兵", "e5 空".
    static std::string SquareText(CBaseBoard& board, CBasePoint square);
    // A player panel read out: side, name, whose move, the times and the move count.
    static std::string PanelText(const CPlayerPanelModel::Slot& slot);
    // The name of a kind as the table says it: 王 后 车 象 马 兵.
    static const char* KindName(PieceKind kind);

private:
    std::string Clocks() const;
    Answer PlayTyped(const std::string& text);

    CBoardWindowModel& m_boardWindow;
    TableView m_table;
    const CPlayerPanelModel& m_panels;
};

} // namespace kelo
