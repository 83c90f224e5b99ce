// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/CPersonRecord.h"
#include "link/MSG_ENTER_TABLE.h"
#include "link/MSG_EXIT_ANSWER.h"
#include "link/MSG_EXIT_DISCOURAGE.h"
#include "link/MSG_EXIT_REQUEST.h"
#include "link/MSG_GAME_RESULT.h"
#include "link/MSG_GAME_STATE.h"
#include "link/MSG_LEAVE_SEAT.h"
#include "link/MSG_LEAVE_TABLE.h"
#include "link/MSG_LEAVE_WATCH.h"
#include "link/MSG_MOVE.h"
#include "link/MSG_PERSON_UPDATE.h"
#include "link/MSG_PLAYTIME_NOTICE.h"
#include "link/MSG_SCORES.h"
#include "link/MSG_SEAT_FLAG.h"
#include "link/MSG_SEQUENCE_START.h"
#include "link/MSG_START_INFO.h"
#include "link/MSG_TABLE_CHAT.h"
#include "link/MSG_TAKEBACK_REQUEST.h"
#include "link/MSG_USER_CONNECT.h"
#include "link/MSG_USER_STATUS.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelo {
namespace {

using Bytes = std::vector<uint8_t>;
// Reads length bytes into a record and writes the record again; nullopt when the read refuses.
using Reencoder = std::function<std::optional<Bytes>(const uint8_t*, size_t)>;

template <class Body> Reencoder ReencoderOf() {
    return [](const uint8_t* p, size_t length) -> std::optional<Bytes> {
        Body body;
        if (!Body::FromWire(p, length, body))
            return std::nullopt;
        const auto bytes = body.ToWire();
        return Bytes(bytes.begin(), bytes.end());
    };
}

std::string Hex(const Bytes& bytes) {
    std::string out;
    char buf[3];
    for (uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02x", b);
        out += buf;
    }
    return out;
}

template <size_t N> std::string Hex(const std::array<uint8_t, N>& bytes) {
    return Hex(Bytes(bytes.begin(), bytes.end()));
}

// A person as the server announces it: texts end inside their fields ('0': the last byte of
// each comes back as 0), gaps of alignment travel as 0.
std::string PersonLayout() {
    auto text = [](char c, size_t size) { return std::string(size - 1, c) + "0"; };
    return "iiii" + text('u', 34) + text('n', 34) + std::string(12, 'h') + "wwwwwwww" + "gg.." +
           "pppppppp" + "kk.." + std::string(16, 'l') + "qq.." + std::string(16, 's') + "vv.." +
           "tttt" + "xxxxxxxx" + text('r', 40) + text('d', 20) + text('c', 20) + text('o', 16);
}

// Each body's layout drawn byte by byte ('.' for a byte that is sent as 0 and never read, '0' for
// one that is read but always comes back as 0), as the protocol describes it. Every byte of a
// distinct pattern has to come back at its place, the others as 0; any length short of the last
// field is refused, the exact end of it is enough.
TEST(WireRecord, EveryBodyCarriesExactlyItsFieldBytes) {
    struct Case {
        const char* name;
        Reencoder reencode;
        std::string layout;
    } cases[] = {
        {"move", ReencoderOf<MSG_MOVE_BODY>(), "sscckkuuffffttttccnn"},
        {"game result", ReencoderOf<MSG_GAME_RESULT_BODY>(), "ssddwwrr"},
        {"game state", ReencoderOf<MSG_GAME_STATE_BODY>(), std::string(28, 'f')},
        {"enter table", ReencoderOf<MSG_ENTER_TABLE_BODY>(), "iiiiddsswwvvggbb"},
        {"leave seat", ReencoderOf<MSG_LEAVE_SEAT_BODY>(), "iiiiss.."},
        {"sequence start", ReencoderOf<MSG_SEQUENCE_START_BODY>(), "........mmmm....cccc....ssss"},
        {"start info",
         [](const uint8_t* p, size_t length) -> std::optional<Bytes> {
             MSG_START_INFO_BODY body;
             if (!MSG_START_INFO_BODY::FromWire(p, length, body))
                 return std::nullopt;
             return body.ToWire(MSG_START_INFO_BODY::START_INFO_SIZE);
         },
         "ccffbbttppaamm...."},
        {"seat and flag", ReencoderOf<MSG_SEAT_FLAG_BODY>(), "ssff"},
        {"scores", ReencoderOf<MSG_SCORES_BODY>(), std::string(40, 'v')},
        {"leave table", ReencoderOf<MSG_LEAVE_TABLE_BODY>(), "iiiissrr"},
        {"leave watch", ReencoderOf<MSG_LEAVE_WATCH_BODY>(), "iiiissww...."},
        {"user status", ReencoderOf<MSG_USER_STATUS_BODY>(), "iiiissrr"},
        {"user connect", ReencoderOf<MSG_USER_CONNECT_BODY>(), "..rr....iiii"},
        {"exit request", ReencoderOf<MSG_EXIT_REQUEST_BODY>(), "iiiissff"},
        {"exit answer", ReencoderOf<MSG_EXIT_ANSWER_BODY>(), "aaaass..rrrrqqff"},
        {"exit discourage", ReencoderOf<MSG_EXIT_DISCOURAGE_BODY>(), "....iiii...."},
        {"play-time notice", ReencoderOf<MSG_PLAYTIME_NOTICE_BODY>(), "sskk...."},
        {"take-back request", ReencoderOf<MSG_TAKEBACK_REQUEST_BODY>(), "sscctt"},
        {"chat head", ReencoderOf<MSG_TABLE_CHAT_BODY>(),
         "iiiissww" + std::string(20, 't') + "ccccvv" + std::string(10, 'f') + "rrrr"},
        {"person",
         [](const uint8_t* p, size_t length) -> std::optional<Bytes> {
             PERSON person;
             if (!CPersonRecord::FromWire(p, length, person))
                 return std::nullopt;
             const auto bytes = CPersonRecord::ToWire(person);
             return Bytes(bytes.begin(), bytes.end());
         },
         PersonLayout()},
        {"extra data",
         [](const uint8_t* p, size_t length) -> std::optional<Bytes> {
             if (p == nullptr || length < MSG_PERSON_UPDATE_RECORD::SIZE)
                 return std::nullopt;
             const auto bytes = MSG_PERSON_UPDATE_RECORD::FromWire(p).ToWire();
             return Bytes(bytes.begin(), bytes.end());
         },
         "iiii" + std::string(20, 'n') + "aa" + std::string(72, 'x') + "bb" + std::string(72, 'y') +
             "cczz"},
    };
    for (const Case& c : cases) {
        const size_t size = c.layout.size();
        const size_t fieldsEnd = c.layout.find_last_not_of('.') + 1;
        Bytes pattern(size), expected(size);
        for (size_t i = 0; i < size; ++i) {
            pattern[i] = static_cast<uint8_t>(0xA0 + i);
            expected[i] = c.layout[i] == '.' || c.layout[i] == '0' ? 0 : pattern[i];
        }
        EXPECT_EQ(c.reencode(pattern.data(), size), expected) << c.name;
        // Exactly as many bytes as the fields need, in a buffer of that size.
        const Bytes needed(pattern.begin(), pattern.begin() + fieldsEnd);
        const auto fromNeeded = c.reencode(needed.data(), needed.size());
        EXPECT_EQ(fromNeeded, expected) << c.name << " from " << fieldsEnd << " bytes";
        for (size_t length = 0; length < fieldsEnd; ++length) {
            const Bytes torn(pattern.begin(), pattern.begin() + length);
            EXPECT_EQ(c.reencode(torn.data(), length), std::nullopt)
                << c.name << " from " << length << " bytes";
        }
        EXPECT_EQ(c.reencode(nullptr, size), std::nullopt) << c.name << " without a body";
    }
}

TEST(WireRecord, WritesFieldsInNetworkOrderAndSignedValuesAsTwosComplement) {
    MoveRecord knight; // a pawn takes on the last row and becomes a knight that gives check
    knight.special = 3;
    knight.flags = 5;
    knight.colour = Colour::Black;
    knight.kind = PieceKind::Pawn;
    knight.from = CBasePoint::FromCode(0x0102);
    knight.to = CBasePoint::FromCode(0x03040506);
    knight.clock = 300;
    knight.moveNumber = 41;
    const MSG_MOVE_BODY step = MSG_MOVE_BODY::FromRecord(knight);
    EXPECT_EQ(Hex(step.ToWire()), "03050001000600000000010203040506012c0029");
    EXPECT_EQ(MSG_MOVE_BODY::FromWire(step.ToWire().data()).ToRecord(), knight);

    MSG_SCORES_BODY scores;
    scores.points = {-10, 10};
    scores.total = {-30, 70000};
    scores.drawn = {1, 2};
    const auto wire = scores.ToWire();
    EXPECT_EQ(Hex(wire), "fffffff60000000a"
                         "ffffffe200011170"
                         "0000000000000000"
                         "0000000000000000"
                         "0000000100000002");
    MSG_SCORES_BODY back;
    ASSERT_TRUE(MSG_SCORES_BODY::FromWire(wire.data(), wire.size(), back));
    EXPECT_EQ(back.Values(), (std::array<int32_t, 10>{-10, 10, -30, 70000, 0, 0, 0, 0, 1, 2}));

    // What a client sends to leave: no id of its own, its seat, the reason.
    MSG_LEAVE_TABLE_BODY leave;
    leave.seatno = 1;
    leave.reason = MSG_LEAVE_TABLE_BODY::REASON_FORCED;
    EXPECT_EQ(Hex(leave.ToWire()), "0000000000010001");
}

// The chat head carries the component's text field byte for byte, whatever its code page, and
// its integers as they are, in little-endian order.
TEST(WireRecord, ChatHeadKeepsItsTextFieldAsRawBytes) {
    MSG_TABLE_CHAT_BODY head;
    head.id = 100;
    head.seatno = 1;
    head.watchno = 0xFFFF;
    const char face[] = "\xcb\xce\xcc\xe5"; // a font name in GBK
    std::copy(face, face + 4, head.formatText.begin());
    head.colour = 0x0000FF;
    head.formatFlags = {1, 0, 0, 0, 9};
    const auto wire = head.ToWire();
    EXPECT_EQ(Hex(wire), "640000000100ffff"
                         "cbcecce500000000000000000000000000000000"
                         "ff000000"
                         "0000"
                         "01000000000000000900"
                         "00000000");
    MSG_TABLE_CHAT_BODY back;
    ASSERT_TRUE(MSG_TABLE_CHAT_BODY::FromWire(wire.data(), wire.size(), back));
    EXPECT_EQ(back.formatText, head.formatText);
    EXPECT_EQ(back.colour, 0xFFu);
}

// A reader that needs only the first fields takes a body cut after them; the fields beyond the
// cut keep their values, and a cut inside the needed field is refused.
TEST(WireRecord, DecodeThroughReadsTheFieldsABodyReaches) {
    const Bytes bytes = {0, 0, 0x12, 0x34, 0, 1, 0, 2, 0, 0, 0, 0};
    struct Case {
        size_t length;
        bool read;
        uint32_t id;
        uint16_t seatno;
        uint16_t watchno;
    } cases[] = {
        {3, false, 7, 0xFFFF, 0xFFFF},     {4, true, 0x1234, 0xFFFF, 0xFFFF},
        {5, true, 0x1234, 0xFFFF, 0xFFFF}, {6, true, 0x1234, 1, 0xFFFF},
        {7, true, 0x1234, 1, 0xFFFF},      {12, true, 0x1234, 1, 2},
    };
    for (const Case& c : cases) {
        const Bytes body(bytes.begin(), bytes.begin() + c.length);
        MSG_LEAVE_WATCH_BODY leave;
        leave.id = 7;
        EXPECT_EQ(wire::DecodeThrough<&MSG_LEAVE_WATCH_BODY::id>(body.data(), c.length, leave),
                  c.read)
            << c.length;
        EXPECT_EQ(leave.id, c.id) << c.length;
        EXPECT_EQ(leave.seatno, c.seatno) << c.length;
        EXPECT_EQ(leave.watchno, c.watchno) << c.length;
    }

    // The needed field need not be the first one.
    MSG_EXIT_REQUEST_BODY request;
    EXPECT_FALSE(wire::DecodeThrough<&MSG_EXIT_REQUEST_BODY::seatno>(bytes.data(), 5, request));
    ASSERT_TRUE(wire::DecodeThrough<&MSG_EXIT_REQUEST_BODY::seatno>(bytes.data(), 6, request));
    EXPECT_EQ(request.seatno, 1);
    EXPECT_EQ(request.flag, 1) << "beyond the body, so left as it was";
    EXPECT_FALSE(wire::DecodeThrough<&MSG_EXIT_REQUEST_BODY::seatno>(nullptr, 8, request));
}

TEST(WireRecord, StartInfoHasTwoSizesAndLeavesItsDefaultsOnATornBody) {
    MSG_START_INFO_BODY info;
    info.firstSeat = 1;
    info.maxTakeBacks = 3;
    EXPECT_EQ(Hex(info.ToWire(MSG_START_INFO_BODY::GAME_INFO_SIZE)),
              "0000000100000708003c000a0003");
    EXPECT_EQ(Hex(info.ToWire(MSG_START_INFO_BODY::START_INFO_SIZE)),
              "0000000100000708003c000a000300000000");

    const Bytes torn(13, 0xFF);
    MSG_START_INFO_BODY kept;
    EXPECT_FALSE(MSG_START_INFO_BODY::FromWire(torn.data(), torn.size(), kept));
    EXPECT_EQ(kept.totalTime, 1800);
    EXPECT_EQ(kept.paceTime, 60);
    EXPECT_EQ(kept.firstColour, 0);
}

} // namespace
} // namespace kelo
