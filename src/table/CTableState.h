// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TableTypes.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kelo {

// What a transition of the table's state changed.
enum class TableStateChange : uint8_t {
    Game,       // where the game stands (GameState)
    Lock,       // whether the board and the buttons take input
    TakeBacks,  // the take-back counts or their limit
    Connection, // the opponent's broken-connection mark
};

// Why a game ended on this client.
enum class GameEnd : uint8_t {
    Result,     // a result from the server, or one found here in a local game
    Draw,       // a draw both players agreed to
    Scores,     // the scores of the game arrived
    Left,       // this client left the watchers
    ServerLost, // the server could not be reached again
};

// Whoever follows the table's state (the windows that enable their input by it).
class ITableStateObserver {
public:
    virtual ~ITableStateObserver() = default;
    virtual void OnTableStateChanged(TableStateChange change) = 0;
};

// The state of the table's game that several objects share: where the game stands, whether
// the board and the buttons take input, the take-backs of the game, and whether the opponent's
// connection is broken. It changes only through the named transitions below, each of which
// tells the observers what changed; whoever only reads gets a const reference.
class CTableState {
public:
    GameState State() const { return m_gameState; }
    bool IsPlaying() const { return m_gameState == GameState::Playing; }
    TableLock LockState() const { return m_lock; }
    bool IsLocked() const { return m_lock == TableLock::Locked; }
    // Take-backs used in the game under way, and how many the server allows (3 until it says).
    int16_t TakeBackCount() const { return m_nTakeBackCount; }
    int16_t MaxTakeBacks() const { return m_nMaxTakeBacks; }
    // The take-back count that a seat's last take-back request announced (the opponent's side
    // of a record; the own side is TakeBackCount).
    int16_t SeatTakeBackCount(uint16_t seat) const {
        return seat < m_seatTakeBacks.size() ? m_seatTakeBacks[seat] : int16_t{0};
    }
    // Set while the server says the opponent's connection is broken.
    bool OpponentDisconnected() const { return m_bOpponentBroken; }

    // A new game is announced: no take-backs yet, and no game under way.
    void NewGame();
    // The own ready notice went out before a game began.
    void MarkReady();
    // A game begins, or a game under way is joined.
    void BeginPlaying();
    // The game under way is joined from the server's game state: input waits for the server,
    // which allows this many take-backs.
    void JoinPlaying(int16_t maxTakeBacks);
    // An adjourned game is resumed with the take-backs its record kept.
    void ResumePlaying(int16_t ownTakeBacks, const std::array<int16_t, 2>& seatTakeBacks);
    void End(GameEnd why);
    // The table closes while its game may still be under way.
    void Close();
    // A sealed game leaves the table without a game.
    void ClearGame();
    // The board and the buttons wait for the server, or take input again.
    void Lock();
    void Unlock();
    // The server's start information: the take-backs used and allowed.
    void StartTakeBacks(int16_t used, int16_t allowed);
    // This client asks for one more take-back.
    void CountOwnTakeBack();
    // A seat's take-back request announced its count.
    void NoteSeatTakeBacks(uint16_t seat, int16_t count);
    void MarkOpponentBroken();
    void MarkOpponentBack();

    // The reason of the last End, for whoever is told of GameState::Ended.
    GameEnd LastEnd() const { return m_lastEnd; }

    void AddObserver(ITableStateObserver* observer);
    void RemoveObserver(ITableStateObserver* observer);

private:
    void ChangeGame(GameState state);
    void ChangeLock(TableLock lock);
    void Tell(TableStateChange change);

    GameState m_gameState = GameState::None;
    TableLock m_lock = TableLock::Free;
    int16_t m_nTakeBackCount = 0;
    int16_t m_nMaxTakeBacks = 3;
    std::array<int16_t, 2> m_seatTakeBacks{0, 0};
    bool m_bOpponentBroken = false;
    GameEnd m_lastEnd = GameEnd::Result;
    std::vector<ITableStateObserver*> m_observers;
};

} // namespace kelo
