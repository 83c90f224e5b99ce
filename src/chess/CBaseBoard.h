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
// judges it, with the marks a board window draws. It knows nothing of players or of the table;
// the colour at the bottom is given by whoever sets the board up.
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
    Colour BottomColour() const { return m_nBottomColour; }
    void SetBottomColour(Colour colour) { m_nBottomColour = colour; }
    CBaseDiagram& Position() { return m_position; }
    virtual bool IsOnBoard(CBasePoint square) const;
    virtual CBasePoint OrientationTransform(CBasePoint p, Colour colour,
                                            Colour reference) const = 0;
    // A new game on the board: the position emptied and both colours set up afresh.
    void NewPosition();
    virtual void ResetGameState();
    // Copies kind, colour, tag and unmoved into copy when given.
    virtual bool HasPieceAt(CBasePoint square, CBasePiece* copy = nullptr);
    virtual CBasePiece* PieceAt(CBasePoint square);
    virtual void AddValidSquare(int32_t code) { m_validSquares.push_back(code); }
    virtual void SetValidSquares(const std::vector<int32_t>& codes) { m_validSquares = codes; }

    // The rule for the piece on the square, or none.
    CBaseRule* RuleAt(CBasePoint square);
    CBaseRuleFactory& RuleFactory() { return m_rules; }
    // Whether moving the piece on from to to is a pawn reaching the last row, so that the
    // caller must ask which piece it becomes before check-move-with-promotion.
    bool IsPromotion(CBasePoint from, CBasePoint to);

    // Referee.
    // Whether some piece of the colour attacks the square.
    bool AttackedBy(Colour colour, CBasePoint square);
    // Whether the colour's opponent's king is attacked; false when it is not on the board.
    bool GivesCheck(Colour colour);
    bool HasLegalMove(Colour colour);
    // Plays a received move (the ply count already counts it) and judges the position. Moves
    // replayed at a game start or resume (ply count not above the replay count) are played
    // but never judged.
    MoveJudgement AfterMove(const MoveRecord& move);

    // Model members.
    int16_t m_nColumns = 8;
    int16_t m_nRows = 8;
    CBasePoint m_ptSelected{0, -1};
    CBasePoint m_ptTarget{0, -1};
    uint8_t m_bPieceSelected = 0;
    int16_t m_nPlyCount = 0;
    int16_t m_nReplayCount = 0;
    int32_t m_nCheckRun[2] = {0, 0};
    uint8_t m_bHover = 0;
    uint8_t m_bStudyMode = 0;
    std::vector<int32_t> m_validSquares;
    std::vector<int32_t> m_lastMoveSquares;
    std::vector<int32_t> m_markSquares;

private:
    CBaseDiagram& m_position;
    CBaseRuleFactory& m_rules;
    Colour m_nBottomColour = Colour::White;
};

} // namespace kelo
