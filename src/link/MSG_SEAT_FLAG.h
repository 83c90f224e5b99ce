// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// A seat and a 16-bit flag: the ready notice (602) and the start notice (626) carry the sender's
// seat and 1; the game begin (627) carries the seat that moves first and an unused 0.
struct MSG_SEAT_FLAG_BODY {
    static constexpr size_t SIZE = 4;
    uint16_t seat = 0;
    uint16_t flag = 0;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_SEAT_FLAG_BODY::seat},
        wire::Field{2, &MSG_SEAT_FLAG_BODY::flag},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_SEAT_FLAG_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
