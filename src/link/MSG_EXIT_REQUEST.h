// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// A player asks to leave a game under way (3031): the requester's id and seat, then 1.
struct MSG_EXIT_REQUEST_BODY {
    static constexpr size_t SIZE = 8;
    uint32_t id = 0;
    uint16_t seatno = 0;
    uint16_t flag = 1;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_EXIT_REQUEST_BODY::id},
        wire::Field{4, &MSG_EXIT_REQUEST_BODY::seatno},
        wire::Field{6, &MSG_EXIT_REQUEST_BODY::flag},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_EXIT_REQUEST_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
