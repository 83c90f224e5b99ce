// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// The answer to a colour exchange (617): the answerer's seat, 1 when it agrees, and the seat
// that moves first from now on (the seat after the one whose turn it was).
struct MSG_EXCHANGE_ANSWER_BODY {
    static constexpr size_t SIZE = 6;
    uint16_t seat = 0;
    uint16_t agree = 0;
    uint16_t firstSeat = 0;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_EXCHANGE_ANSWER_BODY::seat},
        wire::Field{2, &MSG_EXCHANGE_ANSWER_BODY::agree},
        wire::Field{4, &MSG_EXCHANGE_ANSWER_BODY::firstSeat},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_EXCHANGE_ANSWER_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
