#pragma once

#include "link/WireOrder.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelo {

// The game settings the server gives a table: 606 (14 bytes) while a table is set up, 662
// (18 bytes) once both players are seated. u16 fields in network order; the first seat and
// the clock settings sit at the same offsets as in the game state (663), so one reading serves
// all three:
//   0  colour of the first seat (the bottom colour, normally White)
//   2  first seat, the seat that moves first
//   4  take-backs already used in this game
//   6  total time, 8 pace time, 10 pace added time (seconds)
//   12 maximum take-backs
// 662 has four more bytes, unused (0).
struct MSG_START_INFO_BODY {
    static constexpr size_t GAME_INFO_SIZE = 14;
    static constexpr size_t START_INFO_SIZE = 18;

    uint16_t firstColour = 0;
    uint16_t firstSeat = 0;
    uint16_t takeBackCount = 0;
    uint16_t totalTime = 1800;
    uint16_t paceTime = 60;
    uint16_t paceAddedTime = 10;
    uint16_t maxTakeBacks = 0;

    // size is GAME_INFO_SIZE or START_INFO_SIZE.
    std::vector<uint8_t> ToWire(size_t size) const {
        std::vector<uint8_t> out(size < START_INFO_SIZE ? GAME_INFO_SIZE : START_INFO_SIZE, 0);
        wire::PutU16(&out[0], firstColour);
        wire::PutU16(&out[2], firstSeat);
        wire::PutU16(&out[4], takeBackCount);
        wire::PutU16(&out[6], totalTime);
        wire::PutU16(&out[8], paceTime);
        wire::PutU16(&out[10], paceAddedTime);
        wire::PutU16(&out[12], maxTakeBacks);
        return out;
    }
    // False when the body is too short to hold the fields.
    static bool FromWire(const uint8_t* p, size_t length, MSG_START_INFO_BODY& out) {
        if (p == nullptr || length < GAME_INFO_SIZE)
            return false;
        out.firstColour = wire::GetU16(p);
        out.firstSeat = wire::GetU16(p + 2);
        out.takeBackCount = wire::GetU16(p + 4);
        out.totalTime = wire::GetU16(p + 6);
        out.paceTime = wire::GetU16(p + 8);
        out.paceAddedTime = wire::GetU16(p + 10);
        out.maxTakeBacks = wire::GetU16(p + 12);
        return true;
    }
};

} // namespace kelo
