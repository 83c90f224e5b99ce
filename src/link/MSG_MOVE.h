// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/MoveRecord.h"
#include "link/WireRecord.h"

#include <array>
#include <cstdint>

namespace kelo {

// The step: one move as it travels (the move message, the moves that follow a game state, the
// moves kept with an adjourned game). 20 bytes; the clock comes before the move number, the
// other way round from the move record.
struct MSG_MOVE_BODY {
    static constexpr size_t SIZE = 20;
    uint16_t specialFlags = 0; // special in the high byte, flags in the low byte
    uint16_t colour = 0;
    uint16_t kind = 0;
    uint16_t unused = 0;
    uint32_t from = 0;
    uint32_t to = 0;
    uint16_t clock = 0;
    uint16_t moveNumber = 0;

    static MSG_MOVE_BODY FromRecord(const MoveRecord& m) {
        MSG_MOVE_BODY step;
        step.specialFlags = static_cast<uint16_t>(m.special << 8 | m.flags);
        step.colour = static_cast<uint16_t>(WireValue(m.colour));
        step.kind = static_cast<uint16_t>(WireValue(m.kind));
        step.from = static_cast<uint32_t>(m.from.Code());
        step.to = static_cast<uint32_t>(m.to.Code());
        step.clock = static_cast<uint16_t>(m.clock);
        step.moveNumber = static_cast<uint16_t>(m.moveNumber);
        return step;
    }
    MoveRecord ToRecord() const {
        MoveRecord m;
        m.from = SquareFromWire(static_cast<int32_t>(from));
        m.to = SquareFromWire(static_cast<int32_t>(to));
        m.colour = ColourFromWire(static_cast<int16_t>(colour));
        m.kind = KindFromWire(static_cast<int16_t>(kind));
        m.special = static_cast<uint8_t>(specialFlags >> 8);
        m.flags = static_cast<uint8_t>(specialFlags & 0xFF);
        m.moveNumber = static_cast<int16_t>(moveNumber);
        m.clock = static_cast<int16_t>(clock);
        return m;
    }

    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &MSG_MOVE_BODY::specialFlags}, wire::Field{2, &MSG_MOVE_BODY::colour},
        wire::Field{4, &MSG_MOVE_BODY::kind},         wire::Field{6, &MSG_MOVE_BODY::unused},
        wire::Field{8, &MSG_MOVE_BODY::from},         wire::Field{12, &MSG_MOVE_BODY::to},
        wire::Field{16, &MSG_MOVE_BODY::clock},       wire::Field{18, &MSG_MOVE_BODY::moveNumber},
    };

    std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
    static MSG_MOVE_BODY FromWire(const uint8_t* p) { return wire::Decode<MSG_MOVE_BODY>(p); }
    static bool FromWire(const uint8_t* p, size_t length, MSG_MOVE_BODY& out) {
        return wire::Decode(p, length, out);
    }
};

} // namespace kelo
