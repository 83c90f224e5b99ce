#pragma once

#include "chess/CBasePiece.h"
#include "chess/CBasePoint.h"
#include "chess/MoveRecord.h"
#include "link/IMessageSink.h"

#include <cstdint>
#include <vector>

namespace kelo {

class CBaseDiagram;
class CBaseRule;
class CBaseRuleFactory;
class CGameContext;
class CMessageSinkRegistry;
class ISoundPlayer;
struct MSG_GAME_RESULT_BODY;

// Whoever follows the board: the window that draws it, and tools that watch a game.
class IBoardObserver {
public:
    virtual ~IBoardObserver() = default;
    // The position or the marks changed; redraw.
    virtual void OnBoardChanged() {}
    // A result came back from the server; the game state is already 3.
    virtual void OnGameResult(const MSG_GAME_RESULT_BODY&) {}
    // The scores of a game: points, total points, won, lost, drawn, each for seat 0 then 1.
    virtual void OnScores(const int32_t (&)[10]) {}
};

// The state of the game on the board and the referee. The window that draws it and takes the
// user's clicks is a separate object of the shell.
class CBaseBoard : public IMessageSink {
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
    // Whether the ids name exactly as many players as the table has seats, every one of them
    // seated here (an adjourned game can only be resumed by the same players).
    virtual bool SeatsMatch(const std::vector<uint32_t>& playerIds);
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

    // Game messages. Every message posted to the board comes here; bodies are in wire order
    // and are read only as far as their length goes.
    void OnMessageRev(const CMessageRev& message) override;
    virtual void HandleGameMessage(uint16_t type, const uint8_t* body, uint32_t length);
    // Sends a move made on this client (from check-move-with-promotion). It is not applied
    // here: the server relays it back and every client applies it in the same order.
    void SendMove(const MoveRecord& record);
    // Where the moves of a game under way are re-posted so that every window gets them.
    void SetHandOn(CMessageSinkRegistry* registry) { m_pHandOn = registry; }
    void SetSoundPlayer(ISoundPlayer* sound) { m_pSound = sound; }
    void SetObserver(IBoardObserver* observer) { m_pObserver = observer; }

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

    // Negotiations (colour exchange, take-back, draw), adjourned games and results are handled
    // by the table's later parts; the board hands them these messages.
    virtual void OnNegotiationMessage(uint16_t, const uint8_t*, uint32_t) {}
    virtual void OnResumeMessage(uint16_t, const uint8_t*, uint32_t) {}
    virtual void OnSealMessage(uint16_t, const uint8_t*, uint32_t) {}
    // Records the result and ends the game on this client.
    virtual void OnGameResult(const MSG_GAME_RESULT_BODY& result);
    virtual void OnScores(const uint8_t* body, uint32_t length);

    CGameContext& m_context;
    int16_t m_nGameId;
    CBaseDiagram* m_pPosition = nullptr;
    CBaseRuleFactory* m_pRuleFactory = nullptr;

private:
    void OnNewGame();
    void OnGameBegin(const uint8_t* body, uint32_t length);
    void OnMove(const uint8_t* body, uint32_t length);
    void OnGamePrepare();
    void OnStartInfo();
    void OnGameState(const uint8_t* body, uint32_t length);
    void OnGameStateMoves(const uint8_t* body, uint32_t length);
    // Sends {own seat, 1}: the ready notice.
    void SendReady();
    void SendSeatFlag(uint16_t type, uint16_t seat, uint16_t flag);
    void NewPosition();
    void Redraw();

    CMessageSinkRegistry* m_pHandOn = nullptr;
    ISoundPlayer* m_pSound = nullptr;
    IBoardObserver* m_pObserver = nullptr;
};

} // namespace kelo
