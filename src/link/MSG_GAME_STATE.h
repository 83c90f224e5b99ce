// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// The head of the game state of a table: fourteen 16-bit fields. The last one counts the
// 20-byte move records that the server sends right after it.
struct MSG_GAME_STATE_BODY {
    static constexpr size_t SIZE = 28;
    static constexpr size_t RECORD_SIZE = 20;
    static constexpr size_t COUNT_OFFSET = 26;
    std::array<uint16_t, 14> fields{};

    uint16_t RecordCount() const { return fields[13]; }

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_GAME_STATE_BODY::fields},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static MSG_GAME_STATE_BODY FromWire(const uint8_t* p) {
        return wire::Decode<MSG_GAME_STATE_BODY>(p);
    }
    static bool FromWire(const uint8_t* p, size_t length, MSG_GAME_STATE_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
