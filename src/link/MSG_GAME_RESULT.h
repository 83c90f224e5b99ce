// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

constexpr uint16_t MSG_GAME_RESULT = 651;

// Reasons of a game result that the referee decides itself.
constexpr uint16_t RESULT_REASON_PERPETUAL_CHECK = 1;
constexpr uint16_t RESULT_REASON_STALEMATE = 2;
constexpr uint16_t RESULT_REASON_TIMEOUT = 7;
constexpr uint16_t RESULT_REASON_CHECKMATE = 651;

// Body of the game result: four 16-bit fields.
struct MSG_GAME_RESULT_BODY {
    static constexpr size_t SIZE = 8;
    uint16_t senderSeat = 0;
    uint16_t decisive = 0;
    uint16_t winnerSeat = 0;
    uint16_t reason = 0;

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_GAME_RESULT_BODY::senderSeat},
        wire::Field{2, &MSG_GAME_RESULT_BODY::decisive},
        wire::Field{4, &MSG_GAME_RESULT_BODY::winnerSeat},
        wire::Field{6, &MSG_GAME_RESULT_BODY::reason},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static MSG_GAME_RESULT_BODY FromWire(const uint8_t* p) {
        return wire::Decode<MSG_GAME_RESULT_BODY>(p);
    }
    static bool FromWire(const uint8_t* p, size_t length, MSG_GAME_RESULT_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
