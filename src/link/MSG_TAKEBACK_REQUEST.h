// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// A request to take back a move (636): the requester's seat, its take-back count with this
// request, and the step number, always 1. The answer echoes all three.
struct MSG_TAKEBACK_REQUEST_BODY {
    static constexpr size_t SIZE = 6;
    uint16_t seat = 0;
    uint16_t count = 0;
    uint16_t step = 1;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_TAKEBACK_REQUEST_BODY::seat},
        wire::Field{2, &MSG_TAKEBACK_REQUEST_BODY::count},
        wire::Field{4, &MSG_TAKEBACK_REQUEST_BODY::step},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_TAKEBACK_REQUEST_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
