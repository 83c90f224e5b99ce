// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// A watcher leaves (3027): the id, seat and watch number of who leaves; bytes 8-11 are sent as
// 0 and not read.
struct MSG_LEAVE_WATCH_BODY {
    static constexpr size_t SIZE = 12;
    uint32_t id = 0;
    uint16_t seatno = 0xFFFF;
    uint16_t watchno = 0xFFFF;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_LEAVE_WATCH_BODY::id},
        wire::Field{4, &MSG_LEAVE_WATCH_BODY::seatno},
        wire::Field{6, &MSG_LEAVE_WATCH_BODY::watchno},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_LEAVE_WATCH_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
