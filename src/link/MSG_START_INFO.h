// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

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

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_START_INFO_BODY::firstColour},
        wire::Field{2, &MSG_START_INFO_BODY::firstSeat},
        wire::Field{4, &MSG_START_INFO_BODY::takeBackCount},
        wire::Field{6, &MSG_START_INFO_BODY::totalTime},
        wire::Field{8, &MSG_START_INFO_BODY::paceTime},
        wire::Field{10, &MSG_START_INFO_BODY::paceAddedTime},
        wire::Field{12, &MSG_START_INFO_BODY::maxTakeBacks},
    };

    // size is GAME_INFO_SIZE or START_INFO_SIZE.
    std::vector<uint8_t> ToWire(size_t size) const {
        const auto bytes = wire::Encode<MSG_START_INFO_BODY, START_INFO_SIZE>(*this);
        return {bytes.begin(),
                bytes.begin() + (size < START_INFO_SIZE ? GAME_INFO_SIZE : START_INFO_SIZE)};
    }
    // False when the body is too short to hold the fields.
    static bool FromWire(const uint8_t* p, size_t length, MSG_START_INFO_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

// A game information (606) holds every field; a start information (662) only adds unused bytes.
static_assert(wire::FieldsEnd<MSG_START_INFO_BODY>() == MSG_START_INFO_BODY::GAME_INFO_SIZE);

} // namespace kelo
