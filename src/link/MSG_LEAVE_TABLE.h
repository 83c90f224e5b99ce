// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// Leaving the table (3026). A client leaves the id 0: the server knows the sender by its
// connection. The server's own 3026 names the user who left and why.
struct MSG_LEAVE_TABLE_BODY {
    static constexpr size_t SIZE = 8;
    static constexpr uint16_t REASON_NORMAL = 0;
    static constexpr uint16_t REASON_FORCED = 1;
    uint32_t id = 0;
    uint16_t seatno = 0;
    uint16_t reason = REASON_NORMAL;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_LEAVE_TABLE_BODY::id},
        wire::Field{4, &MSG_LEAVE_TABLE_BODY::seatno},
        wire::Field{6, &MSG_LEAVE_TABLE_BODY::reason},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_LEAVE_TABLE_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
