// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace kelo {

// The clock settings of the table's game, and the seconds spent on the move in progress.
class CPlayerTimeControl {
public:
    virtual ~CPlayerTimeControl() = default;
    void Reset() { m_nStepCounter = 0; }

    // Seconds each player has for the whole game.
    int16_t m_nTotalTime = 1800;
    // Seconds allowed for one move.
    int16_t m_nPaceTime = 60;
    // Seconds credited to a player for every move.
    int16_t m_nPaceAddedTime = 10;
    int16_t m_nStepCounter = 0;
};

} // namespace kelo
