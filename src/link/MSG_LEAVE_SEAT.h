// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// What a leave message becomes before the server has started the numbered exchange: the own id
// and seat, then two unused bytes.
struct MSG_LEAVE_SEAT_BODY {
    static constexpr size_t SIZE = 8;
    uint32_t id = 0;
    uint16_t seatno = 0;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_LEAVE_SEAT_BODY::id},
        wire::Field{4, &MSG_LEAVE_SEAT_BODY::seatno},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static MSG_LEAVE_SEAT_BODY FromWire(const uint8_t* p) {
        return wire::Decode<MSG_LEAVE_SEAT_BODY>(p);
    }
    static bool FromWire(const uint8_t* p, size_t length, MSG_LEAVE_SEAT_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
