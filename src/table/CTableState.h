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
    void SetMaxTakeBacks(int16_t count) { m_nMaxTakeBacks = count; }

    // The take-back count that a seat's last take-back request announced (the opponent's side
    // of a record; the own side is TakeBackCount).
    int16_t SeatTakeBackCount(uint16_t seat) const {
        return seat < 2 ? m_seatTakeBacks[seat] : int16_t{0};
    }
    void SetSeatTakeBackCount(uint16_t seat, int16_t count) {
        if (seat < 2)
            m_seatTakeBacks[seat] = count;
    }

    // Set while the server says the opponent's connection is broken.
    bool OpponentDisconnected() const { return m_bOpponentDisconnected; }
    void SetOpponentDisconnected(bool broken) { m_bOpponentDisconnected = broken; }

private:
    GameState m_gameState = GameState::None;
    TableLock m_lock = TableLock::Free;
    int16_t m_nTakeBackCount = 0;
    int16_t m_nMaxTakeBacks = 3;
    int16_t m_seatTakeBacks[2] = {0, 0};
    bool m_bOpponentDisconnected = false;
};

} // namespace kelo
