// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBaseBoard.h"
#include "link/IMessageSink.h"
#include "table/TableParts.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kelo {

class CMessageSinkRegistry;
class IPrompts;
class ISoundPlayer;
struct MSG_GAME_RESULT_BODY;
struct MSG_SCORES_BODY;

// Whoever follows the board: the window that draws it, and tools that watch a game.
class IBoardObserver {
public:
    virtual ~IBoardObserver() = default;
    // The position or the marks changed; redraw.
    virtual void OnBoardChanged() {}
    // A result came back from the server; the game state is already ended.
    virtual void OnGameResult(const MSG_GAME_RESULT_BODY&) {}
    // The scores of a game; the game state is already ended.
    virtual void OnScores(const MSG_SCORES_BODY&) {}
};

// Whoever counts the moves the board applied (the players' clocks). A relayed move that does
// not fit the position is refused by the board and never reaches it.
class IMoveObserver {
public:
    virtual ~IMoveObserver() = default;
    // After the move was applied, replayed ones too.
    virtual void OnMoveApplied(const MoveRecord& move) = 0;
};

// The board at a table: it holds the game's board and handles the table's game messages for
// it (starting a game, the moves, the replay of a game under way), sends the moves made here
// and reports what the referee finds.
class CTableBoard : public IMessageSink {
public:
    // A local game's result line is shown through prompts (none: not shown); the moves are
    // heard through sound (none: silent); saveOffer runs at every game end, a result or an
    // agreed draw, once the result is recorded: the offer to save the game as the settings say
    // (none: nothing is offered).
    CTableBoard(CBaseBoard& board, const TableParts& table, IPrompts* prompts = nullptr,
                ISoundPlayer* sound = nullptr, std::function<void()> saveOffer = {})
        : m_board(board), m_table(table), m_pSound(sound), m_pPrompts(prompts),
          m_saveOffer(std::move(saveOffer)) {}
    ~CTableBoard() override;
    CTableBoard(const CTableBoard&) = delete;
    CTableBoard& operator=(const CTableBoard&) = delete;

    CBaseBoard& Board() { return m_board; }
    // True when a piece of the colour whose seat is to move stands on the square.
    bool CanSelect(CBasePoint square);
    // Whether the ids name exactly as many players as the table has seats, every one of them
    // seated here (an adjourned game can only be resumed by the same players).
    bool SeatsMatch(const std::vector<uint32_t>& playerIds) const;
    // Plays a received move on the board and sends the result the referee finds: a mate from
    // every client, a stalemate and five checks only from the client whose move it was. False,
    // and nothing changed, when the move does not fit the position.
    bool Play(const MoveRecord& move);

    // Game messages. Every message posted to the board comes here; bodies are in wire order
    // and are read only as far as their length goes.
    void OnMessageRev(const CMessageRev& message) override;
    void HandleGameMessage(uint16_t type, const uint8_t* body, uint32_t length);
    // Sends a move made on this client (from check-move-with-promotion). It is not applied
    // here: the server relays it back and every client applies it in the same order.
    void SendMove(const MoveRecord& record);
    // Where the moves of a game under way are re-posted so that every window gets them.
    void SetHandOn(CMessageSinkRegistry* registry) { m_pHandOn = registry; }
    void SetObserver(IBoardObserver* observer) { m_pObserver = observer; }
    IBoardObserver* Observer() const { return m_pObserver; }
    void SetMoveObserver(IMoveObserver* observer) { m_pMoveObserver = observer; }
    IMoveObserver* MoveObserver() const { return m_pMoveObserver; }

    // A draw both players agreed to (642): recorded as a result without a winner, and the game
    // ends here as at any result.
    void RecordAgreedDraw(uint16_t answererSeat);
    // The game that ended last stays on the board, to be studied and saved, until the next
    // game begins or the player presses start (LeaveFinishedGame).
    bool FinishedGameOnView() const { return m_bFinishedOnView; }
    void LeaveFinishedGame();
    // The line that tells the result recorded last.
    std::string ResultLine() const;

    bool m_bAwaitingEcho = false;
    int16_t m_nResultWinnerSeat = 0;
    int16_t m_nResultLoserSeat = 0;
    int16_t m_nResultReason = 0;

protected:
    void SendGameResult(uint16_t decisive, uint16_t winnerSeat, uint16_t reason);
    // Records the result and ends the game on this client; a local table then starts the next
    // game and shows the result line.
    virtual void OnGameResult(const MSG_GAME_RESULT_BODY& result);
    virtual void OnScores(const uint8_t* body, uint32_t length);

    CBaseBoard& m_board;
    TableParts m_table;

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
    IPrompts* m_pPrompts = nullptr;
    IBoardObserver* m_pObserver = nullptr;
    std::function<void()> m_saveOffer;
    IMoveObserver* m_pMoveObserver = nullptr;
    // The game under way has had its result; cleared when the next one begins.
    bool m_bResultTaken = false;
    // The last game ended and is still on view while the table readies the next one.
    bool m_bFinishedOnView = false;
};

} // namespace kelo
