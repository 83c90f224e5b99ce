// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBasePiece.h"
#include "chess/CBoardMap.h"
#include "chess/MoveRecord.h"

#include <memory>
#include <string>
#include <vector>

namespace kelo {

class CBasePieceFactory;

// One position with its history: the pieces it owns, the board map, the captured and promoted
// stacks and the move list.
class CBaseDiagram {
public:
    // Pieces come from the factory, which must outlive the position.
    explicit CBaseDiagram(CBasePieceFactory& factory) : m_factory(factory) {}
    virtual ~CBaseDiagram();
    CBaseDiagram(const CBaseDiagram&) = delete;
    CBaseDiagram& operator=(const CBaseDiagram&) = delete;

    // Takes ownership of the piece and stands it on the square. False (and the piece kept but
    // not placed) when the square is off the board or taken.
    bool AddPiece(int32_t code, std::unique_ptr<CBasePiece> piece);
    // New game: every piece object goes, the history is emptied, the move number is 1.
    virtual void Reset();
    // Starting position of one colour, seen with bottomColour at the bottom; None sets up White,
    // then Black.
    virtual void SetUp(Colour colour, Colour bottomColour) = 0;

    // Plays the record on the board. A record that does not fit the position (no piece on
    // from, a capture without a victim, a square off the board, an occupied destination of a
    // quiet move) is refused and nothing changes.
    bool Apply(const MoveRecord& move);
    // Takes back the last record; false when there is none to take back.
    bool UndoLast();
    // Takes back one move of each side and lowers the move number.
    bool UndoPair();

    // Square code of the first piece of that colour and kind in board order, or -1.
    int32_t Find(Colour colour, PieceKind kind) const;
    bool LastMove(MoveRecord& out) const;
    size_t MoveCount() const { return m_moves.size(); }
    const std::vector<MoveRecord>& Moves() const { return m_moves; }

    int16_t MoveNumber() const { return m_nMoveNumber; }
    void SetMoveNumber(int16_t number) { m_nMoveNumber = number; }
    void AddMoveNumber() { ++m_nMoveNumber; }

    CBasePiece* PieceAt(int32_t code) const { return m_board.Get(code); }
    CBasePiece* PieceAt(CBasePoint p) const { return m_board.Get(p); }
    const CBoardMap& BoardMap() const { return m_board; }
    const std::vector<std::unique_ptr<CBasePiece>>& Pieces() const { return m_pieces; }
    const std::vector<CBasePiece*>& Captured() const { return m_captured; }
    const std::vector<CBasePiece*>& Promoted() const { return m_promoted; }

    // A move made before this position was set up (an imported position's last move, so that
    // en passant can be judged). It sits in the move list but cannot be taken back.
    void AddHistory(const MoveRecord& move);

    // Text of a move for the move list, e.g. "白方 : Pe2--e4".
    static std::string MoveText(const MoveRecord& move);

    // A new piece (tag 1) from the game's piece factory; the caller hands it to AddPiece.
    std::unique_ptr<CBasePiece> CreatePiece(Colour colour, PieceKind kind);

private:
    CBasePieceFactory& m_factory;
    std::vector<std::unique_ptr<CBasePiece>> m_pieces;
    int16_t m_nMoveNumber = 1;
    CBoardMap m_board;
    std::vector<CBasePiece*> m_captured;
    std::vector<CBasePiece*> m_promoted;
    std::vector<MoveRecord> m_moves;
    size_t m_nHistoryBase = 0;
};

} // namespace kelo
