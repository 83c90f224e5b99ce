// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace kelo {

// The table's sounds: wave 501 a move was applied, 502 and 503 a button is hovered and
// pressed, 504 a click was refused, 505 the user's clock is running out. The shell decides whether
// sounds are switched on.
class ISoundPlayer {
public:
    static constexpr uint16_t WAVE_MOVE = 501;
    static constexpr uint16_t WAVE_HOVER = 502;
    static constexpr uint16_t WAVE_PRESS = 503;
    static constexpr uint16_t WAVE_REFUSED = 504;
    static constexpr uint16_t WAVE_LOW_TIME = 505;

    virtual ~ISoundPlayer() = default;
    virtual void PlayWave(uint16_t id) = 0;
};

} // namespace kelo
