// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// The answer to a draw offer (642): the answerer's seat, its move number, 1 when it agrees.
struct MSG_DRAW_ANSWER_BODY {
    static constexpr size_t SIZE = 6;
    uint16_t seat = 0;
    uint16_t moveNumber = 0;
    uint16_t agree = 0;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_DRAW_ANSWER_BODY::seat},
        wire::Field{2, &MSG_DRAW_ANSWER_BODY::moveNumber},
        wire::Field{4, &MSG_DRAW_ANSWER_BODY::agree},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_DRAW_ANSWER_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
