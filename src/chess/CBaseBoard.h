// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBasePiece.h"
#include "chess/CBasePoint.h"
#include "chess/MoveRecord.h"

#include <cstdint>
#include <vector>

namespace kelo {

class CBaseDiagram;
class CBaseRule;
class CBaseRuleFactory;

// What the referee finds after a move. The referee only judges: whoever holds the board at a
// table decides who reports the result.
enum class Verdict {
    None,
    // The side that moved has mated.
    Checkmate,
    // The side to move has no legal move and is not in check.
    Stalemate,
    // The side that moved has given check five times in a row.
    FiveChecks,
};

struct MoveJudgement {
    // False when the move did not fit the position; nothing changed then.
    bool applied = false;
    // The move gives check.
    bool check = false;
    Verdict verdict = Verdict::None;
};

// The board of a game: its position, the rules that move its pieces and the referee that
// judges it. It keeps the game's own counts (plies played, the replayed plies, each side's run
// of checks, the last move's squares), which change only through Play and TakeBack. It knows
// nothing of players, the table or the window; the colour at the bottom is given by whoever
// sets the board up.
class CBaseBoard {
public:
    // The position and the rule factory must outlive the board.
    CBaseBoard(CBaseDiagram& position, CBaseRuleFactory& rules)
        : m_position(position), m_rules(rules) {}
    virtual ~CBaseBoard();
    CBaseBoard(const CBaseBoard&) = delete;
    CBaseBoard& operator=(const CBaseBoard&) = delete;

    // True when a piece of the colour to move stands on the square.
    virtual bool CanSelect(CBasePoint square, Colour colourToMove);
    Colour BottomColour() const { return m_bottomColour; }
    void SetBottomColour(Colour colour) { m_bottomColour = colour; }
    CBaseDiagram& Position() { return m_position; }
    int16_t Columns() const { return m_nColumns; }
    int16_t Rows() const { return m_nRows; }
    bool IsOnBoard(CBasePoint square) const {
        return square.Code() >= 0 && square.x >= 0 && square.x < m_nColumns && square.y >= 0 &&
               square.y < m_nRows;
    }
    // The square as the colour sees it when the reference colour sits at the bottom.
    CBasePoint OrientationTransform(CBasePoint p, Colour colour, Colour reference) const {
        return OrientPoint(p, colour, reference, m_nColumns, m_nRows);
    }
    // A new game on the board: the position emptied and both colours set up afresh.
    void NewPosition();
    // The counts of a new game: no ply played or replayed, no check run, no last move.
    void ResetGameState();
    // Rises at every reset of the game state, so that whoever keeps marks of its own on the
    // board can tell that they belong to an earlier game.
    uint32_t GameSerial() const { return m_nGameSerial; }
    // Copies kind, colour, tag and unmoved into copy when given.
    virtual bool HasPieceAt(CBasePoint square, CBasePiece* copy = nullptr);
    virtual CBasePiece* PieceAt(CBasePoint square);

    // The rule for the piece on the square, or none.
    CBaseRule* RuleAt(CBasePoint square);
    CBaseRuleFactory& RuleFactory() { return m_rules; }
    // The squares the colour's piece on from may legally move to.
    std::vector<CBasePoint> LegalTargets(CBasePoint from, Colour colour);
    // Whether moving the piece on from to to is a pawn reaching the last row, so that the
    // caller must ask which piece it becomes before check-move-with-promotion.
    bool IsPromotion(CBasePoint from, CBasePoint to);

    // Referee.
    // Whether some piece of the colour attacks the square.
    bool AttackedBy(Colour colour, CBasePoint square);
    // Whether the colour's opponent's king is attacked; false when it is not on the board.
    bool GivesCheck(Colour colour);
    bool HasLegalMove(Colour colour);

    // Plays a move and judges the position. A move that does not fit the position changes
    // nothing, the counts included. Moves replayed at a game start or resume (the first
    // ReplayCount plies) are played but never judged.
    MoveJudgement Play(const MoveRecord& move);
    // Takes the last plies back, with the counts and the last move's squares; false, and
    // nothing changed, when fewer plies were played. A pair also lowers the move number.
    bool TakeBack(int plies);
    // The plies of a game under way that are about to be replayed, before the first of them.
    void SetReplayCount(int16_t plies) { m_nReplayCount = plies; }

    int16_t PlyCount() const { return m_nPlyCount; }
    int16_t ReplayCount() const { return m_nReplayCount; }
    // Whether plies that are replayed, not played, are still to come.
    bool Replaying() const { return m_nPlyCount < m_nReplayCount; }
    // How many checks in a row the colour has given with its last moves.
    int32_t CheckRun(Colour colour) const;
    // The from and to squares of the last move played, none before the first.
    const std::vector<CBasePoint>& LastMoveSquares() const { return m_lastMoveSquares; }
    // A game put away (sealed) leaves no last move to show; the counts stay.
    void ClearLastMove() { m_lastMoveSquares.clear(); }

private:
    struct PlayedPly {
        Colour colour;
        bool check;
    };

    CBaseDiagram& m_position;
    CBaseRuleFactory& m_rules;
    Colour m_bottomColour = Colour::White;
    int16_t m_nColumns = 8;
    int16_t m_nRows = 8;
    uint32_t m_nGameSerial = 0;
    int16_t m_nPlyCount = 0;
    int16_t m_nReplayCount = 0;
    int32_t m_nCheckRun[2] = {0, 0};
    // Whether each ply played gave check, so that a take-back restores the check runs.
    std::vector<PlayedPly> m_played;
    std::vector<CBasePoint> m_lastMoveSquares;
};

} // namespace kelo
