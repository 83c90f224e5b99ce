// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// The server's word on a user at the table (3002). A status of 1 or 2 means the user is gone;
// a role of 1 or 2 makes the user a player, any other value a watcher.
struct MSG_USER_STATUS_BODY {
    static constexpr size_t SIZE = 8;
    uint32_t id = 0;
    uint16_t status = 0;
    uint16_t role = 0;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_USER_STATUS_BODY::id},
        wire::Field{4, &MSG_USER_STATUS_BODY::status},
        wire::Field{6, &MSG_USER_STATUS_BODY::role},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_USER_STATUS_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
