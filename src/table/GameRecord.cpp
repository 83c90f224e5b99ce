// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/GameRecord.h"

#include "table/CRecordReader.h"
#include "table/CRecordWriter.h"

#include <algorithm>

namespace kelo {

namespace {

// A step in the file: 18 bytes, the 16 unused bits of the wire form left out and the move
// number before the clock.
void WriteStep(CRecordWriter& out, const MoveRecord& move) {
    out.U16(static_cast<uint16_t>(move.special << 8 | move.flags));
    out.I16(WireValue(move.colour));
    out.I16(WireValue(move.kind));
    out.I32(move.from.Code());
    out.I32(move.to.Code());
    out.I16(move.moveNumber);
    out.I16(move.clock);
}

bool ReadStep(CRecordReader& in, MoveRecord& move) {
    uint16_t specialFlags = 0;
    int16_t colour = 0, kind = 0;
    int32_t from = 0, to = 0;
    if (!in.U16(specialFlags) || !in.I16(colour) || !in.I16(kind) || !in.I32(from) || !in.I32(to) ||
        !in.I16(move.moveNumber) || !in.I16(move.clock))
        return false;
    move.from = SquareFromWire(from);
    move.to = SquareFromWire(to);
    move.special = static_cast<uint8_t>(specialFlags >> 8);
    move.flags = static_cast<uint8_t>(specialFlags & 0xFF);
    move.colour = ColourFromWire(colour);
    move.kind = KindFromWire(kind);
    return true;
}

constexpr size_t STEP_SIZE = 18;

} // namespace

std::vector<uint8_t> WriteRecord(const GameRecord& record) {
    CRecordWriter out;
    out.Double(record.version);
    for (const std::string& nickname : record.nicknames)
        out.Text(nickname);
    out.I16(record.ownerSeat);
    out.U32(record.key);
    out.I16(GameRecord::SLOTS);
    for (int slot = 0; slot < GameRecord::SLOTS; ++slot) {
        out.U32(record.userIds[slot]);
        out.I16(record.colours[slot]);
    }
    out.I16(record.bottomColour);
    out.I16(record.firstMoverColour);
    out.I16(record.currentTurnColour);
    for (int16_t count : record.takeBacks)
        out.I16(count);
    for (int16_t setting : record.clock)
        out.I16(setting);
    const size_t count = std::min(record.moves.size(), GameRecord::MAX_MOVES);
    out.U16(static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i)
        WriteStep(out, record.moves[i]);
    return out.Bytes();
}

RecordError ReadRecord(const uint8_t* data, size_t size, GameRecord& record) {
    CRecordReader in(data, size);
    GameRecord read;
    if (!in.Double(read.version))
        return RecordError::Damaged;
    if (read.version != GameRecord::VERSION)
        return RecordError::Version;
    for (std::string& nickname : read.nicknames)
        if (!in.Text(nickname, GameRecord::MAX_NICKNAME))
            return RecordError::Damaged;
    if (!in.I16(read.ownerSeat) || !in.U32(read.key) || !in.I16(read.seatCount) ||
        read.seatCount != GameRecord::SLOTS)
        return RecordError::Damaged;
    for (int slot = 0; slot < GameRecord::SLOTS; ++slot)
        if (!in.U32(read.userIds[slot]) || !in.I16(read.colours[slot]))
            return RecordError::Damaged;
    if (!in.I16(read.bottomColour) || !in.I16(read.firstMoverColour) ||
        !in.I16(read.currentTurnColour))
        return RecordError::Damaged;
    for (int16_t& count : read.takeBacks)
        if (!in.I16(count))
            return RecordError::Damaged;
    for (int16_t& setting : read.clock)
        if (!in.I16(setting))
            return RecordError::Damaged;
    uint16_t count = 0;
    if (!in.U16(count) || count > GameRecord::MAX_MOVES || count * STEP_SIZE > in.Left())
        return RecordError::Damaged;
    read.moves.resize(count);
    for (MoveRecord& move : read.moves)
        if (!ReadStep(in, move))
            return RecordError::Damaged;
    record = std::move(read);
    return RecordError::None;
}

} // namespace kelo
