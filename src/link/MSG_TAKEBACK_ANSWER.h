// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// The answer to a take-back request (637): the request's three fields as they came, then 1
// when the opponent agrees.
struct MSG_TAKEBACK_ANSWER_BODY {
    static constexpr size_t SIZE = 8;
    uint16_t seat = 0;
    uint16_t count = 0;
    uint16_t step = 1;
    uint16_t agree = 0;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_TAKEBACK_ANSWER_BODY::seat},
        wire::Field{2, &MSG_TAKEBACK_ANSWER_BODY::count},
        wire::Field{4, &MSG_TAKEBACK_ANSWER_BODY::step},
        wire::Field{6, &MSG_TAKEBACK_ANSWER_BODY::agree},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_TAKEBACK_ANSWER_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
