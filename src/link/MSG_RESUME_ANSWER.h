// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// The answer to a resume request (623): the answerer's seat (0xFFFF from a table without a
// server, which resumes on its own) and 1 to agree or 0.
struct MSG_RESUME_ANSWER_BODY {
    static constexpr size_t SIZE = 4;
    static constexpr uint16_t LOCAL_SEAT = 0xFFFF;
    uint16_t seatno = 0;
    uint16_t agree = 0;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_RESUME_ANSWER_BODY::seatno},
        wire::Field{2, &MSG_RESUME_ANSWER_BODY::agree},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_RESUME_ANSWER_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
