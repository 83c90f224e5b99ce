// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// The answer to a request to leave (3032): who answers, then whom it answers, and refused 1 for
// a refusal or a countdown that ran out, 0 for consent. Bytes 6-7 are padding.
struct MSG_EXIT_ANSWER_BODY {
    static constexpr size_t SIZE = 16;
    uint32_t answererId = 0;
    uint16_t answererSeat = 0;
    uint32_t requesterId = 0;
    uint16_t requesterSeat = 0;
    uint16_t refused = 1;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_EXIT_ANSWER_BODY::answererId},
        wire::Field{4, &MSG_EXIT_ANSWER_BODY::answererSeat},
        wire::Field{8, &MSG_EXIT_ANSWER_BODY::requesterId},
        wire::Field{12, &MSG_EXIT_ANSWER_BODY::requesterSeat},
        wire::Field{14, &MSG_EXIT_ANSWER_BODY::refused},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_EXIT_ANSWER_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
