#pragma once

#include "link/WireOrder.h"

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

    std::array<uint8_t, SIZE> ToWire() const {
        std::array<uint8_t, SIZE> out{};
        wire::PutU16(&out[0], senderSeat);
        wire::PutU16(&out[2], decisive);
        wire::PutU16(&out[4], winnerSeat);
        wire::PutU16(&out[6], reason);
        return out;
    }
    static MSG_GAME_RESULT_BODY FromWire(const uint8_t* p) {
        return {wire::GetU16(p), wire::GetU16(p + 2), wire::GetU16(p + 4), wire::GetU16(p + 6)};
    }
};

} // namespace kelo
