#pragma once

#include "chess/MoveRecord.h"
#include "link/WireOrder.h"

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
        step.colour = static_cast<uint16_t>(m.colour);
        step.kind = static_cast<uint16_t>(m.kind);
        step.from = static_cast<uint32_t>(m.from);
        step.to = static_cast<uint32_t>(m.to);
        step.clock = static_cast<uint16_t>(m.clock);
        step.moveNumber = static_cast<uint16_t>(m.moveNumber);
        return step;
    }
    MoveRecord ToRecord() const {
        MoveRecord m;
        m.from = static_cast<int32_t>(from);
        m.to = static_cast<int32_t>(to);
        m.colour = static_cast<int16_t>(colour);
        m.kind = static_cast<int16_t>(kind);
        m.special = static_cast<uint8_t>(specialFlags >> 8);
        m.flags = static_cast<uint8_t>(specialFlags & 0xFF);
        m.moveNumber = static_cast<int16_t>(moveNumber);
        m.clock = static_cast<int16_t>(clock);
        return m;
    }
    std::array<uint8_t, SIZE> ToWire() const {
        std::array<uint8_t, SIZE> out{};
        wire::PutU16(&out[0], specialFlags);
        wire::PutU16(&out[2], colour);
        wire::PutU16(&out[4], kind);
        wire::PutU16(&out[6], unused);
        wire::PutU32(&out[8], from);
        wire::PutU32(&out[12], to);
        wire::PutU16(&out[16], clock);
        wire::PutU16(&out[18], moveNumber);
        return out;
    }
    static MSG_MOVE_BODY FromWire(const uint8_t* p) {
        MSG_MOVE_BODY step;
        step.specialFlags = wire::GetU16(p);
        step.colour = wire::GetU16(p + 2);
        step.kind = wire::GetU16(p + 4);
        step.unused = wire::GetU16(p + 6);
        step.from = wire::GetU32(p + 8);
        step.to = wire::GetU32(p + 12);
        step.clock = wire::GetU16(p + 16);
        step.moveNumber = wire::GetU16(p + 18);
        return step;
    }
};

} // namespace kelo
