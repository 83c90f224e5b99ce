#pragma once

#include "link/WireOrder.h"

#include <array>
#include <cstdint>

namespace kelo {

// What a leave message becomes before the server has started the numbered exchange: the own id
// and seat, then two unused bytes.
struct MSG_LEAVE_SEAT_BODY {
    static constexpr size_t SIZE = 8;
    uint32_t id = 0;
    uint16_t seatno = 0;

    std::array<uint8_t, SIZE> ToWire() const {
        std::array<uint8_t, SIZE> out{};
        wire::PutU32(&out[0], id);
        wire::PutU16(&out[4], seatno);
        return out;
    }
    static MSG_LEAVE_SEAT_BODY FromWire(const uint8_t* p) {
        return {wire::GetU32(p), wire::GetU16(p + 4)};
    }
};

} // namespace kelo
