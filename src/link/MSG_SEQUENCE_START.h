#pragma once

#include "link/WireOrder.h"

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

    std::array<uint8_t, SIZE> ToWire() const {
        std::array<uint8_t, SIZE> out{};
        wire::PutU32(&out[8], sequenceComm);
        wire::PutU32(&out[16], sequenceClient);
        wire::PutU32(&out[24], sequenceServer);
        return out;
    }
    static MSG_SEQUENCE_START_BODY FromWire(const uint8_t* p) {
        return {wire::GetU32(p + 8), wire::GetU32(p + 16), wire::GetU32(p + 24)};
    }
};

} // namespace kelo
