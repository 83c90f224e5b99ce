// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// The outcome of a user's connection (3003): result 0 means the user with that id could not
// connect. The 16-bit fields at 0 and 4 are not read.
struct MSG_USER_CONNECT_BODY {
    static constexpr size_t SIZE = 12;
    uint16_t result = 0;
    uint32_t id = 0;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{2, &MSG_USER_CONNECT_BODY::result},
        wire::Field{8, &MSG_USER_CONNECT_BODY::id},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_USER_CONNECT_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
