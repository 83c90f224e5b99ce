// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/EngineLevel.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace kelo {

namespace {

// The one table of the levels. Skill Level 0 at depth 1 on a few hundred nodes misses simple
// captures and mates; each level above searches deeper and longer; 7 and 8 use the clocks as
// the engine sees fit, 8 without any cap.
const std::array<EngineLevel, EngineLevel::HIGHEST> LEVELS = {{
    {1, 0, 1, 200, 100, false},
    {2, 3, 2, 1000, 200, false},
    {3, 6, 4, 5000, 300, false},
    {4, 9, 6, 20000, 500, false},
    {5, 12, 9, 100000, 1000, true},
    {6, 15, 12, 500000, 2000, true},
    {7, 18, std::nullopt, std::nullopt, std::nullopt, true},
    {8, std::nullopt, std::nullopt, std::nullopt, std::nullopt, true},
}};

} // namespace

const EngineLevel& EngineLevel::Of(int level) {
    return LEVELS[static_cast<size_t>(std::clamp(level, LOWEST, HIGHEST) - LOWEST)];
}

std::string EngineLevel::Table() {
    std::string table = "  level  Skill Level  depth  nodes    think     resigns\n";
    for (const EngineLevel& level : LEVELS) {
        char line[100];
        const std::string skill = level.skill ? std::to_string(*level.skill) : "full";
        const std::string depth = level.depth ? std::to_string(*level.depth) : "-";
        const std::string nodes = level.nodes ? std::to_string(*level.nodes) : "-";
        const std::string think =
            level.thinkMs ? std::to_string(*level.thinkMs) + " ms" : "by clock";
        std::snprintf(line, sizeof line, "  %-5d  %-11s  %-5s  %-7s  %-8s  %s\n", level.level,
                      skill.c_str(), depth.c_str(), nodes.c_str(), think.c_str(),
                      level.resigns ? "yes" : "no");
        table += line;
    }
    return table;
}

} // namespace kelo
