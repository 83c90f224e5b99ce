// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageText.h"

#include "base/CGbkConverter.h"
#include "chess/CBoardMap.h"
#include "chess/CCoordinateMove.h"
#include "link/CPersonRecord.h"
#include "link/MSG_DRAW_ANSWER.h"
#include "link/MSG_DRAW_OFFER.h"
#include "link/MSG_ENTER_TABLE.h"
#include "link/MSG_EXCHANGE_ANSWER.h"
#include "link/MSG_EXCHANGE_REQUEST.h"
#include "link/MSG_EXIT_ANSWER.h"
#include "link/MSG_EXIT_DISCOURAGE.h"
#include "link/MSG_EXIT_REQUEST.h"
#include "link/MSG_GAME_RESULT.h"
#include "link/MSG_GAME_STATE.h"
#include "link/MSG_LEAVE_TABLE.h"
#include "link/MSG_LEAVE_WATCH.h"
#include "link/MSG_MOVE.h"
#include "link/MSG_SCORES.h"
#include "link/MSG_SEAL_ANSWER.h"
#include "link/MSG_SEAL_REQUEST.h"
#include "link/MSG_SEAT_FLAG.h"
#include "link/MSG_SEQUENCE_START.h"
#include "link/MSG_START_INFO.h"
#include "link/MSG_TABLE_CHAT.h"
#include "link/MSG_TAKEBACK_ANSWER.h"
#include "link/MSG_TAKEBACK_REQUEST.h"
#include "link/MessageTypes.h"
#include "link/PERSON.h"

#include <cstring>

namespace kelo {

namespace {

std::string Field(const char* name, long value) {
    return std::string(" ") + name + "=" + std::to_string(value);
}

std::string MoveText(const MSG_MOVE_BODY& step) {
    const MoveRecord m = step.ToRecord();
    if (!CBoardMap::IsValidCode(m.from.Code()) || !CBoardMap::IsValidCode(m.to.Code()))
        return "?";
    return CCoordinateMove::Format(m.from, m.to, m.special);
}

std::string PairText(const char* name, const std::array<int32_t, 2>& pair) {
    return std::string(" ") + name + "=" + std::to_string(pair[0]) + "," + std::to_string(pair[1]);
}

std::string PersonText(const PERSON& p) {
    return std::to_string(p.id) + ":" + std::to_string(p.seatno) + ":" + std::to_string(p.status);
}

} // namespace

std::string MessageText(uint16_t type, const uint8_t* b, uint32_t n) {
    if (b == nullptr)
        n = 0;
    std::string text = std::to_string(type);
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
    case MSG_SCORES: {
        MSG_SCORES_BODY s;
        if (MSG_SCORES_BODY::FromWire(b, n, s))
            return text + PairText("points", s.points) + PairText("total", s.total) +
                   PairText("won", s.won) + PairText("lost", s.lost) + PairText("drawn", s.drawn);
        break;
    }
    case MSG_READY:
    case MSG_START_NOTICE: {
        MSG_SEAT_FLAG_BODY notice;
        if (MSG_SEAT_FLAG_BODY::FromWire(b, n, notice))
            return text + Field("seat", notice.seat) + Field("flag", notice.flag);
        break;
    }
    case MSG_SEAL_REQUEST: {
        MSG_SEAL_REQUEST_BODY request;
        if (MSG_SEAL_REQUEST_BODY::FromWire(b, n, request))
            return text + Field("seat", request.seatno) + Field("number", request.moveNumber) +
                   Field("leave", request.leave);
        break;
    }
    case MSG_SEAL_ANSWER: {
        MSG_SEAL_ANSWER_BODY answer;
        if (MSG_SEAL_ANSWER_BODY::FromWire(b, n, answer))
            return text + Field("seat", answer.seatno) + Field("number", answer.moveNumber) +
                   Field("agree", answer.agree);
        break;
    }
    case MSG_GAME_BEGIN: {
        MSG_SEAT_FLAG_BODY begin;
        if (wire::DecodeThrough<&MSG_SEAT_FLAG_BODY::seat>(b, n, begin))
            return text + Field("first", begin.seat);
        break;
    }
    case MSG_GAME_INFO:
    case MSG_START_INFO: {
        MSG_START_INFO_BODY info;
        if (MSG_START_INFO_BODY::FromWire(b, n, info))
            return text + Field("colour", info.firstColour) + Field("first", info.firstSeat) +
                   Field("total", info.totalTime) + Field("pace", info.paceTime) +
                   Field("added", info.paceAddedTime) + Field("takebacks", info.maxTakeBacks);
        break;
    }
    case MSG_GAME_STATE: {
        MSG_GAME_STATE_BODY state;
        if (MSG_GAME_STATE_BODY::FromWire(b, n, state)) {
            const auto& f = state.fields;
            return text + Field("first", f[1]) + Field("total", f[3]) + Field("pace", f[4]) +
                   Field("added", f[5]) + Field("takebacks", f[6]) + Field("recover", f[12]) +
                   Field("count", state.RecordCount());
        }
        break;
    }
    case MSG_GAME_STATE_MOVES: {
        text += Field("count", n / MSG_MOVE_BODY::SIZE) + " moves=";
        for (uint32_t at = 0; at + MSG_MOVE_BODY::SIZE <= n; at += MSG_MOVE_BODY::SIZE)
            text += (at == 0 ? "" : ",") + MoveText(MSG_MOVE_BODY::FromWire(b + at));
        return text;
    }
    case MSG_ENTER_TABLE: {
        MSG_ENTER_TABLE_BODY enter;
        if (wire::DecodeThrough<&MSG_ENTER_TABLE_BODY::watchno>(b, n, enter))
            return text + Field("id", enter.id) + Field("desk", enter.deskno) +
                   Field("seat", enter.seatno) + Field("watchno", enter.watchno);
        break;
    }
    case MSG_SEQUENCE_START: {
        MSG_SEQUENCE_START_BODY start;
        if (MSG_SEQUENCE_START_BODY::FromWire(b, n, start))
            return text + Field("client", start.sequenceClient) +
                   Field("comm", start.sequenceComm) + Field("server", start.sequenceServer);
        break;
    }
    case MSG_TABLE_PERSONS: {
        text += Field("persons", n / CPersonRecord::SIZE) + " people=";
        for (uint32_t at = 0; at + CPersonRecord::SIZE <= n; at += CPersonRecord::SIZE)
            text += (at == 0 ? "" : ",") + PersonText(CPersonRecord::FromWire(b + at));
        return text;
    }
    case MSG_TABLE_CHAT:
    case MSG_TABLE_CHAT_OLD: {
        MSG_TABLE_CHAT_BODY head;
        if (!MSG_TABLE_CHAT_BODY::FromWire(b, n, head))
            break;
        const char* line = reinterpret_cast<const char*>(b + MSG_TABLE_CHAT_BODY::SIZE);
        return text + Field("id", head.id) + Field("seat", head.seatno) +
               Field("watchno", head.watchno) + Field("colour", head.colour) + " line=" +
               CGbkConverter::ToUtf8(
                   std::string(line, strnlen(line, n - MSG_TABLE_CHAT_BODY::SIZE)));
    }
    case MSG_USER_ENTER:
        if (n >= CPersonRecord::SIZE)
            return text + " person=" + PersonText(CPersonRecord::FromWire(b));
        break;
    case MSG_LEAVE_WATCH: {
        MSG_LEAVE_WATCH_BODY leave;
        if (wire::DecodeThrough<&MSG_LEAVE_WATCH_BODY::watchno>(b, n, leave))
            return text + Field("id", leave.id) + Field("seat", leave.seatno) +
                   Field("watchno", leave.watchno);
        break;
    }
    case MSG_LEAVE_TABLE: {
        MSG_LEAVE_TABLE_BODY leave;
        if (wire::DecodeThrough<&MSG_LEAVE_TABLE_BODY::seatno>(b, n, leave))
            return text + Field("id", leave.id) + Field("seat", leave.seatno) +
                   (n >= MSG_LEAVE_TABLE_BODY::SIZE ? Field("reason", leave.reason) : "");
        break;
    }
    case MSG_TAKEBACK_REQUEST: {
        MSG_TAKEBACK_REQUEST_BODY r;
        if (MSG_TAKEBACK_REQUEST_BODY::FromWire(b, n, r))
            return text + Field("seat", r.seat) + Field("count", r.count) + Field("step", r.step);
        break;
    }
    case MSG_TAKEBACK_ANSWER: {
        MSG_TAKEBACK_ANSWER_BODY a;
        if (MSG_TAKEBACK_ANSWER_BODY::FromWire(b, n, a))
            return text + Field("seat", a.seat) + Field("count", a.count) + Field("step", a.step) +
                   Field("agree", a.agree);
        break;
    }
    case MSG_DRAW_OFFER: {
        MSG_DRAW_OFFER_BODY o;
        if (wire::DecodeThrough<&MSG_DRAW_OFFER_BODY::moveNumber>(b, n, o))
            return text + Field("seat", o.seat) + Field("number", o.moveNumber);
        break;
    }
    case MSG_DRAW_ANSWER: {
        MSG_DRAW_ANSWER_BODY a;
        if (MSG_DRAW_ANSWER_BODY::FromWire(b, n, a))
            return text + Field("seat", a.seat) + Field("number", a.moveNumber) +
                   Field("agree", a.agree);
        break;
    }
    case MSG_EXCHANGE_REQUEST: {
        MSG_EXCHANGE_REQUEST_BODY r;
        if (MSG_EXCHANGE_REQUEST_BODY::FromWire(b, n, r))
            return text + Field("seat", r.seat) + Field("next", r.nextSeat);
        break;
    }
    case MSG_EXCHANGE_ANSWER: {
        MSG_EXCHANGE_ANSWER_BODY a;
        if (MSG_EXCHANGE_ANSWER_BODY::FromWire(b, n, a))
            return text + Field("seat", a.seat) + Field("agree", a.agree) +
                   Field("first", a.firstSeat);
        break;
    }
    case MSG_EXIT_REQUEST: {
        MSG_EXIT_REQUEST_BODY r;
        if (MSG_EXIT_REQUEST_BODY::FromWire(b, n, r))
            return text + Field("id", r.id) + Field("seat", r.seatno);
        break;
    }
    case MSG_EXIT_ANSWER: {
        MSG_EXIT_ANSWER_BODY a;
        if (MSG_EXIT_ANSWER_BODY::FromWire(b, n, a))
            return text + Field("id", a.answererId) + Field("seat", a.answererSeat) +
                   Field("requester", a.requesterId) + Field("refused", a.refused);
        break;
    }
    case MSG_EXIT_DISCOURAGE: {
        MSG_EXIT_DISCOURAGE_BODY d;
        if (MSG_EXIT_DISCOURAGE_BODY::FromWire(b, n, d))
            return text + Field("id", d.id);
        break;
    }
    default:
        break;
    }
    return text + Field("length", n);
}

} // namespace kelo
