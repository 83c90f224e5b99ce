#pragma once

#include "link/WireOrder.h"

#include <array>
#include <cstdint>

namespace kelo {

// Sent once the connection is open: who enters which desk, and the game the table plays.
struct MSG_ENTER_TABLE_BODY {
    static constexpr size_t SIZE = 16;
    uint32_t id = 0;
    uint16_t deskno = 0;
    // 0xFFFF when the client does not know its own seat.
    uint16_t seatno = 0xFFFF;
    uint16_t watchno = 0;
    uint16_t servicetype = 0;
    uint16_t gametype = 0;
    uint16_t subtype = 0;

    std::array<uint8_t, SIZE> ToWire() const {
        std::array<uint8_t, SIZE> out{};
        wire::PutU32(&out[0], id);
        wire::PutU16(&out[4], deskno);
        wire::PutU16(&out[6], seatno);
        wire::PutU16(&out[8], watchno);
        wire::PutU16(&out[10], servicetype);
        wire::PutU16(&out[12], gametype);
        wire::PutU16(&out[14], subtype);
        return out;
    }
    static MSG_ENTER_TABLE_BODY FromWire(const uint8_t* p) {
        return {wire::GetU32(p),     wire::GetU16(p + 4),  wire::GetU16(p + 6),
                wire::GetU16(p + 8), wire::GetU16(p + 10), wire::GetU16(p + 12),
                wire::GetU16(p + 14)};
    }
};

} // namespace kelo
