// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelo {

// How strongly a computer player plays, from 1 (a beginner who blunders) to 8 (the engine at
// full strength). A weak level needs more than the engine's Skill Level, which alone still
// plays far too well: each level also caps the search's depth, nodes and time, and an engine
// without Skill Level is made weaker by these caps alone.
struct EngineLevel {
    static constexpr int LOWEST = 1;
    static constexpr int HIGHEST = 8;
    static constexpr int DEFAULT = 4;

    int level = DEFAULT;
    // "Skill Level" (0 to 20) where the engine offers it; none: the engine's full strength.
    std::optional<int> skill;
    // Caps of each search; none: no cap.
    std::optional<int> depth;
    std::optional<uint64_t> nodes;
    // The longest the engine thinks over one move, in ms, the clocks permitting; none: it
    // manages its time from the clocks itself.
    std::optional<int> thinkMs;
    // Whether it resigns a game that is clearly lost.
    bool resigns = false;

    // The level of that number; numbers outside 1 to 8 are taken as the nearest level.
    static const EngineLevel& Of(int level);
    // The table as kelo-bot's help shows it, one line per level, each ending in a newline.
    static std::string Table();
};

} // namespace kelo
