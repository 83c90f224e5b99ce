// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// A request to exchange colours (616): the requester's seat and the seat after it.
struct MSG_EXCHANGE_REQUEST_BODY {
    static constexpr size_t SIZE = 4;
    uint16_t seat = 0;
    uint16_t nextSeat = 0;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_EXCHANGE_REQUEST_BODY::seat},
        wire::Field{2, &MSG_EXCHANGE_REQUEST_BODY::nextSeat},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_EXCHANGE_REQUEST_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
