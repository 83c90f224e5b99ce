#pragma once

#include "base/TableTypes.h"

#include <cstdint>

namespace kelo {

// One move as the position's move list keeps it and the rest of the client passes it around.
struct MoveRecord {
    int32_t from = 0;
    int32_t to = 0;
    Colour colour = Colour::White;
    PieceKind kind = PieceKind::None;
    uint8_t special = 0;
    uint8_t flags = 0;
    int16_t moveNumber = 0;
    int16_t clock = 0;

    bool operator==(const MoveRecord&) const = default;
};

} // namespace kelo
