// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/EngineClockPlan.h"

#include "engine/EngineLevel.h"

#include <algorithm>

namespace kelo {

EngineClockPlan EngineClockPlan::Make(const EngineLevel& level, Colour side,
                                      const EngineClock& clock) {
    // The increment is only credited after the move: it widens the share of the time left,
    // never what is left now.
    const int share = clock.ownLeftMs / SHARE + clock.incrementMs * 3 / 4;
    const int available = std::min(clock.moveLeftMs, clock.ownLeftMs) - SAFETY_MS;
    const int budget = std::max(LEAST_MS, std::min(share, available));

    EngineClockPlan plan;
    UciLimits& limits = plan.limits;
    limits.depth = level.depth;
    limits.nodes = level.nodes;
    if (level.thinkMs) {
        limits.movetime = std::min(*level.thinkMs, budget);
    } else {
        // The engine manages its time from the clocks, told a little less than it has so that
        // it plans with the same safety. The budget caps the move with "stop", not with a
        // movetime, which makes engines (Stockfish among them) drop their time management and
        // think for all of it.
        const int own = std::max(LEAST_MS, clock.ownLeftMs - SAFETY_MS);
        const int other = std::max(LEAST_MS, clock.otherLeftMs);
        const bool white = side != Colour::Black;
        limits.wtime = white ? own : other;
        limits.btime = white ? other : own;
        if (clock.incrementMs > 0) {
            limits.winc = clock.incrementMs;
            limits.binc = clock.incrementMs;
        }
    }
    plan.budgetMs = limits.movetime.value_or(budget);
    plan.stopMs = plan.budgetMs + STOP_AFTER_MS;
    plan.ownMoveMs = plan.stopMs + OWN_MOVE_AFTER_MS;
    return plan;
}

} // namespace kelo
