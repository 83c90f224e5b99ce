// SPDX-License-Identifier: GPL-3.0-or-later
// The levels of the computer player and how it plans its time on the table's clocks.
#include "engine/EngineClockPlan.h"
#include "engine/EngineLevel.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>

namespace kelo {
namespace {

// The weakest level blunders: Skill Level 0 on a shallow, tiny search. The strongest has no cap
// at all. In between the caps grow with the level, so each level is stronger than the one
// below also for an engine without Skill Level; only 5 to 8 resign.
TEST(EngineLevelTest, TableRunsFromBeginnerToFullStrength) {
    const EngineLevel& beginner = EngineLevel::Of(1);
    EXPECT_EQ(beginner.skill, 0);
    ASSERT_TRUE(beginner.depth && beginner.nodes);
    EXPECT_LE(*beginner.depth, 2);
    EXPECT_LE(*beginner.nodes, 1000u);

    const EngineLevel& full = EngineLevel::Of(8);
    EXPECT_FALSE(full.skill || full.depth || full.nodes || full.thinkMs);

    for (int n = EngineLevel::LOWEST; n <= EngineLevel::HIGHEST; ++n) {
        const EngineLevel& level = EngineLevel::Of(n);
        EXPECT_EQ(level.level, n);
        EXPECT_EQ(level.resigns, n >= 5) << "level " << n;
        if (n == EngineLevel::LOWEST)
            continue;
        const EngineLevel& below = EngineLevel::Of(n - 1);
        auto atLeast = [](const auto& higher, const auto& lower) {
            return !higher || (lower && *higher >= *lower);
        };
        EXPECT_TRUE(atLeast(level.skill, below.skill)) << "level " << n;
        EXPECT_TRUE(atLeast(level.depth, below.depth)) << "level " << n;
        EXPECT_TRUE(atLeast(level.nodes, below.nodes)) << "level " << n;
        EXPECT_TRUE(atLeast(level.thinkMs, below.thinkMs)) << "level " << n;
    }
    // Out of range: the nearest level.
    EXPECT_EQ(EngineLevel::Of(0).level, 1);
    EXPECT_EQ(EngineLevel::Of(99).level, 8);

    // The help's table: a header and one line per level.
    std::istringstream table(EngineLevel::Table());
    int lines = 0;
    for (std::string line; std::getline(table, line);)
        ++lines;
    EXPECT_EQ(lines, 1 + EngineLevel::HIGHEST);
}

// Not sent.
constexpr int NONE = -1;

struct PlanCase {
    const char* what;
    int level;
    Colour side;
    // The clocks: own and other total left, the move's cap left, the increment.
    int own, other, move, increment;
    // Expected go limits (NONE: not sent) and when "stop" goes. A level that thinks by the
    // clocks gets no movetime: its budget is kept with "stop".
    int movetime, wtime, btime, inc;
    int stopMs;
};

std::optional<int> Sent(int value) {
    return value == NONE ? std::nullopt : std::optional<int>(value);
}

// A table of clock situations: the plan never comes near either clock, the increment is not
// spent before it is credited, and a clock almost run out still gets the least search.
TEST(EngineClockPlanTest, ClockSituations) {
    const PlanCase cases[] = {
        // 60 s, 10 s a move, 1 s added: an eighth of the time left and most of the increment.
        {"full strength at the start", 8, Colour::White, 60000, 60000, 10000, 1000, NONE, 58500,
         60000, 1000, 8450},
        {"black's clocks are btime", 8, Colour::Black, 30000, 50000, 10000, 1000, NONE, 50000,
         28500, 1000, 4700},
        // The per-move cap is smaller than the share: it is kept to, with its safety.
        {"the move cap binds", 8, Colour::White, 600000, 600000, 5000, 0, NONE, 598500, 600000,
         NONE, 3700},
        // A big increment does not buy time that is not there yet.
        {"increment larger than the time left", 8, Colour::White, 3000, 60000, 10000, 10000, NONE,
         1500, 60000, 10000, 1700},
        {"almost out of time", 8, Colour::White, 1000, 60000, 10000, 0, NONE, 50, 60000, NONE, 250},
        {"the move cap almost out", 7, Colour::White, 60000, 60000, 1600, 0, NONE, 58500, 60000,
         NONE, 300},
        // A capped level thinks no longer than its cap, and on the clocks only as they allow.
        {"beginner", 1, Colour::White, 60000, 60000, 10000, 1000, 100, NONE, NONE, NONE, 300},
        {"capped level short of time", 6, Colour::Black, 4000, 60000, 10000, 0, 500, NONE, NONE,
         NONE, 700},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.what);
        const EngineLevel& level = EngineLevel::Of(c.level);
        const EngineClock clock{c.own, c.other, c.move, c.increment};
        const EngineClockPlan plan = EngineClockPlan::Make(level, c.side, clock);
        EXPECT_EQ(plan.limits.movetime, Sent(c.movetime));
        EXPECT_EQ(plan.limits.wtime, Sent(c.wtime));
        EXPECT_EQ(plan.limits.btime, Sent(c.btime));
        EXPECT_EQ(plan.limits.winc, Sent(c.inc));
        EXPECT_EQ(plan.limits.binc, Sent(c.inc));
        EXPECT_EQ(plan.limits.depth, level.depth);
        EXPECT_EQ(plan.limits.nodes, level.nodes);
        EXPECT_EQ(plan.stopMs, c.stopMs);
        EXPECT_EQ(plan.ownMoveMs, c.stopMs + EngineClockPlan::OWN_MOVE_AFTER_MS);
        // Where the clocks leave room at all, the own move comes a second before either runs
        // out.
        const int left = std::min(c.own, c.move);
        if (left >= EngineClockPlan::SAFETY_MS + 500) {
            EXPECT_LE(plan.ownMoveMs, left - 1000);
        }
    }
}

} // namespace
} // namespace kelo
