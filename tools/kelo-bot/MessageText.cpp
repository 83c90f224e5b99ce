#include "MessageText.h"

#include "chess/CBoardMap.h"
#include "chess/CCoordinateMove.h"
#include "link/CPersonRecord.h"
#include "link/MSG_GAME_RESULT.h"
#include "link/MSG_GAME_STATE.h"
#include "link/MSG_MOVE.h"
#include "link/MSG_START_INFO.h"
#include "link/MessageTypes.h"
#include "link/PERSON.h"
#include "link/WireOrder.h"

namespace kelo {

namespace {

std::string Field(const char* name, long value) {
    return std::string(" ") + name + "=" + std::to_string(value);
}

std::string MoveText(const MSG_MOVE_BODY& step) {
    const MoveRecord m = step.ToRecord();
    if (!CBoardMap::IsValidCode(m.from) || !CBoardMap::IsValidCode(m.to))
        return "?";
    return CCoordinateMove::Format(m.from, m.to, m.special);
}

std::string PersonText(const PERSON& p) {
    return std::to_string(p.id) + ":" + std::to_string(p.seatno) + ":" + std::to_string(p.status);
}

} // namespace

std::string MessageText(uint16_t type, const uint8_t* b, uint32_t n) {
    if (b == nullptr)
        n = 0;
    std::string text = std::to_string(type);
    auto u16 = [&](uint32_t at) { return static_cast<long>(wire::GetU16(b + at)); };
    switch (type) {
    case MSG_MOVE:
        if (n >= MSG_MOVE_BODY::SIZE) {
            const auto step = MSG_MOVE_BODY::FromWire(b);
            return text + " move=" + MoveText(step) + Field("colour", step.colour) +
                   Field("kind", step.kind) + Field("special", step.specialFlags >> 8) +
                   Field("flags", step.specialFlags & 0xFF) + Field("number", step.moveNumber) +
                   Field("clock", step.clock);
        }
        break;
    case MSG_GAME_RESULT:
        if (n >= MSG_GAME_RESULT_BODY::SIZE) {
            const auto r = MSG_GAME_RESULT_BODY::FromWire(b);
            return text + Field("sender", r.senderSeat) + Field("decisive", r.decisive) +
                   Field("winner", r.winnerSeat) + Field("reason", r.reason);
        }
        break;
    case MSG_SCORES:
        if (n >= 40) {
            static const char* names[] = {"points", "total", "won", "lost", "drawn"};
            for (int i = 0; i < 5; ++i) {
                text += std::string(" ") + names[i] + "=" +
                        std::to_string(static_cast<int32_t>(wire::GetU32(b + 8 * i))) + "," +
                        std::to_string(static_cast<int32_t>(wire::GetU32(b + 8 * i + 4)));
            }
            return text;
        }
        break;
    case MSG_READY:
    case MSG_START_NOTICE:
        if (n >= 4)
            return text + Field("seat", u16(0)) + Field("flag", u16(2));
        break;
    case MSG_GAME_BEGIN:
        if (n >= 2)
            return text + Field("first", u16(0));
        break;
    case MSG_GAME_INFO:
    case MSG_START_INFO: {
        MSG_START_INFO_BODY info;
        if (MSG_START_INFO_BODY::FromWire(b, n, info))
            return text + Field("colour", info.firstColour) + Field("first", info.firstSeat) +
                   Field("total", info.totalTime) + Field("pace", info.paceTime) +
                   Field("added", info.paceAddedTime) + Field("takebacks", info.maxTakeBacks);
        break;
    }
    case MSG_GAME_STATE:
        if (n >= MSG_GAME_STATE_BODY::SIZE)
            return text + Field("first", u16(2)) + Field("total", u16(6)) + Field("pace", u16(8)) +
                   Field("added", u16(10)) + Field("takebacks", u16(12)) +
                   Field("recover", u16(24)) + Field("count", u16(26));
        break;
    case MSG_GAME_STATE_MOVES: {
        text += Field("count", n / MSG_MOVE_BODY::SIZE) + " moves=";
        for (uint32_t at = 0; at + MSG_MOVE_BODY::SIZE <= n; at += MSG_MOVE_BODY::SIZE)
            text += (at == 0 ? "" : ",") + MoveText(MSG_MOVE_BODY::FromWire(b + at));
        return text;
    }
    case MSG_ENTER_TABLE:
        if (n >= 10)
            return text + Field("id", wire::GetU32(b)) + Field("desk", u16(4)) +
                   Field("seat", u16(6)) + Field("watchno", u16(8));
        break;
    case MSG_SEQUENCE_START:
        if (n >= 28)
            return text + Field("client", wire::GetU32(b + 16)) +
                   Field("comm", wire::GetU32(b + 8)) + Field("server", wire::GetU32(b + 24));
        break;
    case MSG_TABLE_PERSONS: {
        text += Field("persons", n / CPersonRecord::SIZE) + " people=";
        for (uint32_t at = 0; at + CPersonRecord::SIZE <= n; at += CPersonRecord::SIZE)
            text += (at == 0 ? "" : ",") + PersonText(CPersonRecord::FromWire(b + at));
        return text;
    }
    case MSG_USER_ENTER:
        if (n >= CPersonRecord::SIZE)
            return text + " person=" + PersonText(CPersonRecord::FromWire(b));
        break;
    case MSG_LEAVE_TABLE:
        if (n >= 6)
            return text + Field("id", wire::GetU32(b)) + Field("seat", u16(4));
        break;
    default:
        break;
    }
    return text + Field("length", n);
}

} // namespace kelo
