// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// The play-time notice (3045) to the player on a seat: kind 1 halves the points won from now
// on, kind 2 gives none. The four bytes after the kind are not read.
struct MSG_PLAYTIME_NOTICE_BODY {
    static constexpr size_t SIZE = 8;
    uint16_t seatno = 0;
    uint16_t kind = 0;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_PLAYTIME_NOTICE_BODY::seatno},
        wire::Field{2, &MSG_PLAYTIME_NOTICE_BODY::kind},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_PLAYTIME_NOTICE_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
