// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TableTypes.h"

#include <cstdint>

namespace kelo {

constexpr int32_t NO_SQUARE = -1;

// A square: file x, row y and a layer z that chess never uses. Its integer code is
// z*10000 + x*100 + y; -1 means no square.
struct CBasePoint {
    int16_t x = 0;
    int16_t y = 0;
    int16_t z = 0;

    constexpr CBasePoint() = default;
    constexpr CBasePoint(int x_, int y_, int z_ = 0)
        : x(static_cast<int16_t>(x_)), y(static_cast<int16_t>(y_)), z(static_cast<int16_t>(z_)) {}

    constexpr int32_t Code() const { return z * 10000 + x * 100 + y; }
    // Callers check for NO_SQUARE before decoding.
    static constexpr CBasePoint FromCode(int32_t code) {
        return CBasePoint(code % 10000 / 100, code % 100, code / 10000);
    }
    // The layer is not compared.
    constexpr bool operator==(const CBasePoint& other) const {
        return x == other.x && y == other.y;
    }
};

// The square code -1 decoded: no square.
constexpr CBasePoint NO_POINT = CBasePoint::FromCode(NO_SQUARE);

// A square code as the wire and the record files carry it. A code that no point can hold (a
// negative one, or a layer beyond 16 bits) is no square, so that it never wraps round to a
// square of the board; every other code comes back from Code() unchanged.
constexpr CBasePoint SquareFromWire(int64_t code) {
    if (code < 0 || code / 10000 > INT16_MAX)
        return NO_POINT;
    return CBasePoint::FromCode(static_cast<int32_t>(code));
}

// Half-turn of the board when colour c is not the reference colour r.
constexpr CBasePoint OrientPoint(CBasePoint p, Colour c, Colour r, int columns, int rows) {
    if (c == r)
        return p;
    return CBasePoint(columns - 1 - p.x, rows - 1 - p.y, p.z);
}

} // namespace kelo
