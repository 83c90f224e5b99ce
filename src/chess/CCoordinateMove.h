// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBasePoint.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kelo {

// A move in coordinate form, as engines and test tools write it: e2e4, e7e8q. Squares are in
// the model orientation with White at the bottom.
struct CCoordinateMove {
    CBasePoint from;
    CBasePoint to;
    // Promotion special of the move record (0 when none).
    uint8_t special = 0;

    static std::optional<CCoordinateMove> Parse(const std::string& text);
    static std::string Format(CBasePoint from, CBasePoint to, uint8_t special);
};

} // namespace kelo
