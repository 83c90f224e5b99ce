// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TableTypes.h"
#include "engine/CUciEngine.h"

namespace kelo {

struct EngineLevel;

// The table's clocks as the side to move sees them at the start of its move, in ms.
struct EngineClock {
    // The side's total time left, and its opponent's.
    int ownLeftMs = 0;
    int otherLeftMs = 0;
    // What is left for this move: the smaller of the per-move cap and the total time left.
    int moveLeftMs = 0;
    // Credited to the side once its move is made, never before.
    int incrementMs = 0;
};

// How long a computer player may think over one move, and what it does when the engine keeps
// thinking: the search's limits, then when it asks for the move ("stop"), then when it plays a
// move of its own. All of it ends well before either clock runs out: the network and the
// engine's own start take their share.
struct EngineClockPlan {
    // Kept free of every plan: the move travels to the server and back, the engine may be
    // slow to start, and the table's clock counts whole seconds.
    static constexpr int SAFETY_MS = 1500;
    // No search is given less than this.
    static constexpr int LEAST_MS = 50;
    // A search may take no more than this share of the total time left (plus most of the
    // increment, which comes back after the move).
    static constexpr int SHARE = 8;
    // The engine's own answer to its limit may come this late before "stop" is sent...
    static constexpr int STOP_AFTER_MS = 200;
    // ...and the answer to "stop" this late before the player moves on its own.
    static constexpr int OWN_MOVE_AFTER_MS = 300;

    UciLimits limits;
    // The longest the search is planned to take: its movetime, or for an engine that plans
    // its own time, when it is stopped.
    int budgetMs = LEAST_MS;
    // From the start of the move: when "stop" is sent, and when a move of its own is played.
    int stopMs = LEAST_MS + STOP_AFTER_MS;
    int ownMoveMs = LEAST_MS + STOP_AFTER_MS + OWN_MOVE_AFTER_MS;

    static EngineClockPlan Make(const EngineLevel& level, Colour side, const EngineClock& clock);
};

} // namespace kelo
