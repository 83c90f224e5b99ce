// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

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

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_ENTER_TABLE_BODY::id},
        wire::Field{4, &MSG_ENTER_TABLE_BODY::deskno},
        wire::Field{6, &MSG_ENTER_TABLE_BODY::seatno},
        wire::Field{8, &MSG_ENTER_TABLE_BODY::watchno},
        wire::Field{10, &MSG_ENTER_TABLE_BODY::servicetype},
        wire::Field{12, &MSG_ENTER_TABLE_BODY::gametype},
        wire::Field{14, &MSG_ENTER_TABLE_BODY::subtype},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static MSG_ENTER_TABLE_BODY FromWire(const uint8_t* p) {
        return wire::Decode<MSG_ENTER_TABLE_BODY>(p);
    }
    static bool FromWire(const uint8_t* p, size_t length, MSG_ENTER_TABLE_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
