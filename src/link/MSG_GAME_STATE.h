#pragma once

#include "link/WireOrder.h"

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

    std::array<uint8_t, SIZE> ToWire() const {
        std::array<uint8_t, SIZE> out{};
        for (size_t i = 0; i < fields.size(); ++i)
            wire::PutU16(&out[2 * i], fields[i]);
        return out;
    }
    static MSG_GAME_STATE_BODY FromWire(const uint8_t* p) {
        MSG_GAME_STATE_BODY body;
        for (size_t i = 0; i < body.fields.size(); ++i)
            body.fields[i] = wire::GetU16(p + 2 * i);
        return body;
    }
};

} // namespace kelo
