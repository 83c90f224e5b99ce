// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/MoveRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelo {

// One game as a record file (".che") and an adjourned game keep it. Two player slots, the
// owner's first; texts are in GBK, as in the file.
struct GameRecord {
    // The only version this client writes and reads.
    static constexpr double VERSION = 1.1;
    static constexpr int SLOTS = 2;
    // Nicknames are short; anything longer than this in a file is damage, not a name.
    static constexpr size_t MAX_NICKNAME = 0x10000;
    // A game of more plies than a signed 16-bit count holds cannot be written.
    static constexpr size_t MAX_MOVES = 0x7FFF;

    int16_t ownerSeat = 0;
    // The tick count when the record was made.
    uint32_t key = 0;
    int16_t seatCount = SLOTS;
    std::array<uint32_t, SLOTS> userIds{};
    std::array<int16_t, SLOTS> colours{};
    std::array<std::string, SLOTS> nicknames;
    double version = VERSION;
    int16_t bottomColour = 0;
    int16_t firstMoverColour = 0;
    int16_t currentTurnColour = 0;
    // Total time, time per move, time added per move.
    std::array<int16_t, 3> clock{};
    // Take-backs used, by seat.
    std::array<int16_t, SLOTS> takeBacks{};
    std::vector<MoveRecord> moves;

    bool operator==(const GameRecord&) const = default;
};

// Why a record file could not be read.
enum class RecordError {
    None,
    // Lengths or counts reach past the end of the file, or values no record holds.
    Damaged,
    // Another version than 1.1; nothing after the version was read.
    Version,
};

// The file's bytes: version, both nicknames, owner seat, key, the seat count with an id and
// colour per seat, the three colours, the take-backs, the clock settings, the moves.
std::vector<uint8_t> WriteRecord(const GameRecord& record);
// Reads a whole file. On an error the record is left as it was. A file names its seats
// itself; only two-seat games (chess) are records here, so any other seat count is damage.
RecordError ReadRecord(const uint8_t* data, size_t size, GameRecord& record);

} // namespace kelo
