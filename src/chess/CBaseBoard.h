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
class CGameContext;

// The state of the game on the board and the referee. The window that draws it and takes the
// user's clicks is a separate object of the shell.
class CBaseBoard {
public:
    CBaseBoard(CGameContext& context, int16_t gameId);
    virtual ~CBaseBoard();
    CBaseBoard(const CBaseBoard&) = delete;
    CBaseBoard& operator=(const CBaseBoard&) = delete;

    // True when a piece of the colour to move stands on the square.
    virtual bool CanSelect(CBasePoint square);
    virtual int16_t BottomColour() const;
    virtual CBaseDiagram& Position();
    virtual bool IsOnBoard(CBasePoint square) const;
    virtual CBasePoint OrientationTransform(CBasePoint p, int16_t colour,
                                            int16_t reference) const = 0;
    virtual void ResetGameState();
    // Copies kind, colour, tag and unmoved into copy when given.
    virtual bool HasPieceAt(CBasePoint square, CBasePiece* copy = nullptr);
    virtual CBasePiece* PieceAt(CBasePoint square);
    virtual void AddValidSquare(int32_t code) { m_validSquares.push_back(code); }
    virtual void SetValidSquares(const std::vector<int32_t>& codes) { m_validSquares = codes; }

    // The rule for the piece on the square, or none.
    CBaseRule* RuleAt(CBasePoint square);
    CBaseRuleFactory& RuleFactory();

    // Referee.
    // Whether some piece of the colour attacks the square.
    bool AttackedBy(int16_t colour, CBasePoint square);
    // Whether the colour's opponent's king is attacked; false when it is not on the board.
    bool GivesCheck(int16_t colour);
    bool HasLegalMove(int16_t colour);
    // Plays a received move and judges the position, sending a result when the game is over.
    // False when the move does not fit the position (nothing is changed then).
    bool AfterMove(const MoveRecord& move);

    CGameContext& Context() const { return m_context; }
    int16_t GameId() const { return m_nGameId; }

    // Model members.
    int16_t m_nColumns = 8;
    int16_t m_nRows = 8;
    CBasePoint m_ptSelected{0, -1};
    CBasePoint m_ptTarget{0, -1};
    uint8_t m_bPieceSelected = 0;
    uint8_t m_bAwaitingEcho = 0;
    int16_t m_nPlyCount = 0;
    int16_t m_nReplayCount = 0;
    int32_t m_nCheckRun[2] = {0, 0};
    int16_t m_nResultWinnerSeat = 0;
    int16_t m_nResultLoserSeat = 0;
    int16_t m_nResultReason = 0;
    uint8_t m_bHover = 0;
    uint8_t m_bStudyMode = 0;
    std::vector<int32_t> m_validSquares;
    std::vector<int32_t> m_lastMoveSquares;
    std::vector<int32_t> m_markSquares;

protected:
    void SendGameResult(uint16_t decisive, uint16_t winnerSeat, uint16_t reason);

    CGameContext& m_context;
    int16_t m_nGameId;
    CBaseDiagram* m_pPosition = nullptr;
    CBaseRuleFactory* m_pRuleFactory = nullptr;
};

} // namespace kelo
