// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelo {

// The colour the person asks for in a game against the computer.
enum class PracticeColour { White, Black, Random };

// A game's clocks as the reference server takes them: each side's total, the time of one move,
// the time added after each move, in seconds.
struct PracticeTime {
    uint16_t total = 0;
    uint16_t pace = 0;
    uint16_t added = 0;

    bool operator==(const PracticeTime&) const = default;
};

// What a game against the computer is played with.
struct PracticeChoice {
    int level = 4;
    PracticeColour colour = PracticeColour::White;
    PracticeTime time{1200, 60, 10};
};

// What the command line said about it; what it left out is asked.
struct PracticeRequest {
    std::optional<int> level;
    std::optional<PracticeColour> colour;
    std::optional<PracticeTime> time;
    // The engine's command line (--engine); empty: the settings' one, else a found engine.
    std::string engineCommand;
};

} // namespace kelo
