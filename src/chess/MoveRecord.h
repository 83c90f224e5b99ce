// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TableTypes.h"
#include "chess/CBasePoint.h"

#include <cstdint>

namespace kelo {

// One move as the position's move list keeps it and the rest of the client passes it around.
struct MoveRecord {
    CBasePoint from;
    CBasePoint to;
    Colour colour = Colour::White;
    PieceKind kind = PieceKind::None;
    uint8_t special = 0;
    uint8_t flags = 0;
    int16_t moveNumber = 0;
    int16_t clock = 0;

    // Squares compare by code, their layer included.
    bool operator==(const MoveRecord& other) const {
        return from.Code() == other.from.Code() && to.Code() == other.to.Code() &&
               colour == other.colour && kind == other.kind && special == other.special &&
               flags == other.flags && moveNumber == other.moveNumber && clock == other.clock;
    }
};

} // namespace kelo
