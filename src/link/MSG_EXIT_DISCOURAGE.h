// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// The server turns down a request to leave (3033): the requester's id at 4. The 16-bit fields
// at 0 and 8 are not read; bytes 2-3 and 10-11 are padding.
struct MSG_EXIT_DISCOURAGE_BODY {
    static constexpr size_t SIZE = 12;
    uint32_t id = 0;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{4, &MSG_EXIT_DISCOURAGE_BODY::id},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_EXIT_DISCOURAGE_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
