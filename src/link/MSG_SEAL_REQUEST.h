// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// A player asks to seal the game (646): its seat, the move number, and 1 to seal and leave or
// 0 to seal and go on to the next game.
struct MSG_SEAL_REQUEST_BODY {
    static constexpr size_t SIZE = 6;
    uint16_t seatno = 0;
    uint16_t moveNumber = 0;
    uint16_t leave = 0;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_SEAL_REQUEST_BODY::seatno},
        wire::Field{2, &MSG_SEAL_REQUEST_BODY::moveNumber},
        wire::Field{4, &MSG_SEAL_REQUEST_BODY::leave},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_SEAL_REQUEST_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
