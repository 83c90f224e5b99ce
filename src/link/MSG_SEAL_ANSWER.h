// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// The answer to a seal request (647): the answerer's seat, the move number, 1 to agree or 0,
// then 0.
struct MSG_SEAL_ANSWER_BODY {
    static constexpr size_t SIZE = 8;
    uint16_t seatno = 0;
    uint16_t moveNumber = 0;
    uint16_t agree = 0;
    uint16_t unused = 0;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_SEAL_ANSWER_BODY::seatno},
        wire::Field{2, &MSG_SEAL_ANSWER_BODY::moveNumber},
        wire::Field{4, &MSG_SEAL_ANSWER_BODY::agree},
        wire::Field{6, &MSG_SEAL_ANSWER_BODY::unused},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_SEAL_ANSWER_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
