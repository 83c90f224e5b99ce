// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// The server's start of the numbered exchange: the three counters at offsets 8, 16 and 24; the
// other bytes are not read.
struct MSG_SEQUENCE_START_BODY {
    static constexpr size_t SIZE = 28;
    uint32_t sequenceComm = 0;
    uint32_t sequenceClient = 0;
    uint32_t sequenceServer = 0;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{8, &MSG_SEQUENCE_START_BODY::sequenceComm},
        wire::Field{16, &MSG_SEQUENCE_START_BODY::sequenceClient},
        wire::Field{24, &MSG_SEQUENCE_START_BODY::sequenceServer},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static MSG_SEQUENCE_START_BODY FromWire(const uint8_t* p) {
        return wire::Decode<MSG_SEQUENCE_START_BODY>(p);
    }
    static bool FromWire(const uint8_t* p, size_t length, MSG_SEQUENCE_START_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
