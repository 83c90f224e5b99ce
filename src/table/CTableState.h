#pragma once

#include "base/TableTypes.h"

#include <cstdint>

namespace kelo {

// The state of the table's game that several windows share: where the game stands, whether
// the board and the buttons take input, the take-backs of the game, and whether the opponent's
// connection is broken.
class CTableState {
public:
    GameState State() const { return m_gameState; }
    void SetState(GameState state) { m_gameState = state; }
    bool IsPlaying() const { return m_gameState == GameState::Playing; }

    TableLock Lock() const { return m_lock; }
    void SetLock(TableLock lock) { m_lock = lock; }
    bool IsLocked() const { return m_lock == TableLock::Locked; }

    // Take-backs used in the game under way, and how many the server allows (3 until it says);
    // both come with the server's start information and game state.
    int16_t TakeBackCount() const { return m_nTakeBackCount; }
    void SetTakeBackCount(int16_t count) { m_nTakeBackCount = count; }
    int16_t MaxTakeBacks() const { return m_nMaxTakeBacks; }
    // The opponent's take-back count, as its last request in this game said (for the record).
    int16_t OpponentTakeBackCount() const { return m_nOpponentTakeBackCount; }
    void SetOpponentTakeBackCount(int16_t count) { m_nOpponentTakeBackCount = count; }
    void SetMaxTakeBacks(int16_t count) { m_nMaxTakeBacks = count; }

    // Set while the server says the opponent's connection is broken.
    bool OpponentDisconnected() const { return m_bOpponentDisconnected; }
    void SetOpponentDisconnected(bool broken) { m_bOpponentDisconnected = broken; }

private:
    GameState m_gameState = GameState::None;
    TableLock m_lock = TableLock::Free;
    int16_t m_nTakeBackCount = 0;
    int16_t m_nMaxTakeBacks = 3;
    int16_t m_nOpponentTakeBackCount = 0;
    bool m_bOpponentDisconnected = false;
};

} // namespace kelo
