// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CGameContext.h"
#include "app/IMainFrameHost.h"
#include "link/CMessageRev.h"
#include "link/CPersonRecord.h"
#include "link/MessageTypes.h"
#include "link/WireOrder.h"
#include "social/CBaseChatView.h"
#include "social/CBaseGameinfoView.h"
#include "support/RecordingSink.h"
#include "support/TestSupport.h"
#include "table/CPlayerManager.h"

#include <gtest/gtest.h>

namespace kelo {
namespace {

using test::MakePerson;

class Lines : public IChatSink {
public:
    void AddSystemLine(const std::string& text, uint32_t colour) override {
        lines.push_back(text);
        colours.push_back(colour);
    }
    std::vector<std::string> lines;
    std::vector<uint32_t> colours;
};

using test::Deliver;

std::vector<uint8_t> IdBody(uint32_t id, size_t size = 8) {
    std::vector<uint8_t> body(size);
    wire::PutU32(body.data(), id);
    return body;
}

std::vector<uint8_t> Record(const PERSON& person) {
    const auto wire = CPersonRecord::ToWire(person);
    return {wire.begin(), wire.end()};
}

struct Table {
    Table() {
        people().SetSeatCount(2);
        PERSON alice = MakePerson(100, "alice", 0);
        alice.watchno = -1;
        people().AddPerson(alice);
        people().AddPerson(MakePerson(200, "bob", 1));
        people().AddPerson(MakePerson(300, "carol", 0, 5));
        people().SetOwnId(100);
    }
    CPlayerManager& people() { return context.PlayerManager(); }
    CGameContext context;
    Lines chat;
    CBaseChatView chatView{context.PlayerManager(), context.State(), chat};
    CBaseGameinfoView listView{context.PlayerManager(), context.State()};
};

TEST(ChatView, PresenceLines) {
    struct Case {
        const char* name;
        uint16_t type;
        std::vector<uint8_t> body;
        const char* line; // nullptr: nothing is written
        uint32_t colour = CHAT_TEXT_COLOUR;
    } cases[] = {
        {"Arrival", MSG_USER_STATUS, IdBody(200), "bob 进来了!"},
        {"ArrivalOfAStranger", MSG_USER_STATUS, IdBody(999), nullptr},
        {"Broken", MSG_USER_BROKEN, IdBody(200), "bob断线了，请稍候……", CHAT_SYSTEM_COLOUR},
        {"Leaves", MSG_LEAVE_WATCH, IdBody(300, 10), "carol 离开了!"},
        {"Newcomer", MSG_USER_ENTER, Record(MakePerson(400, "dave", 0, 5)), "dave 进来了!"},
        {"OwnRecord", MSG_USER_ENTER, Record(MakePerson(100, "alice", 0)), nullptr},
        {"NamelessNewcomerKnown", MSG_USER_ENTER, Record(MakePerson(300, "", 0, 5)),
         "carol 进来了!"},
        {"NamelessStranger", MSG_USER_ENTER, Record(MakePerson(500, "", 0, 5)), nullptr},
        // Both windows read a newcomer only from a whole record.
        {"NewcomerCutShort", MSG_USER_ENTER,
         [] {
             std::vector<uint8_t> body = Record(MakePerson(400, "dave", 0, 5));
             body.pop_back();
             return body;
         }(),
         nullptr},
        {"PlayTime1",
         MSG_PLAYTIME_NOTICE,
         {0, 0, 0, 1, 0, 0, 0, 0},
         "防沉迷提示：您连续游戏时间累计大于三小时，接下来的赢分减半！",
         CHAT_SYSTEM_COLOUR},
        {"PlayTime2",
         MSG_PLAYTIME_NOTICE,
         {0, 0, 0, 2, 0, 0, 0, 0},
         "防沉迷提示：您连续游戏时间累计大于三小时，接下来的赢分为0！",
         CHAT_SYSTEM_COLOUR},
        {"PlayTimeOtherSeat", MSG_PLAYTIME_NOTICE, {0, 1, 0, 1, 0, 0, 0, 0}, nullptr},
        {"PlayTimeOtherKind", MSG_PLAYTIME_NOTICE, {0, 0, 0, 3, 0, 0, 0, 0}, nullptr},
        {"ShortBody", MSG_USER_BROKEN, {0, 0}, nullptr},
    };
    for (const Case& c : cases) {
        Table t;
        Deliver(t.chatView, c.type, c.body);
        if (c.line != nullptr) {
            EXPECT_EQ(t.chat.lines, std::vector<std::string>{c.line}) << c.name;
            EXPECT_EQ(t.chat.colours, std::vector<uint32_t>{c.colour}) << c.name;
        } else
            EXPECT_TRUE(t.chat.lines.empty()) << c.name;
    }
}

// Each ending is named once in the chat, however many reports of it come; the next game's
// beginning (627) or a game joined (663) opens the next ending.
TEST(ChatView, EveryEndingIsToldOnce) {
    using Steps = std::vector<std::pair<uint16_t, std::vector<uint8_t>>>;
    const std::vector<uint8_t> begin{0, 0, 0, 0};
    const struct {
        const char* name;
        Steps steps;
        std::vector<std::string> lines;
    } cases[] = {
        {"MateReportedByBoth",
         {{MSG_GAME_RESULT, {0, 0, 0, 1, 0, 0, 0x02, 0x8B}},
          {MSG_GAME_RESULT, {0, 1, 0, 1, 0, 0, 0x02, 0x8B}}},
         {"本局结束：alice[alice]成功将杀！"}},
        {"ResignationThenTimeInTheNextGame",
         {{MSG_GAME_RESULT, {0, 0, 0, 1, 0, 1, 0, 8}},
          {MSG_GAME_BEGIN, begin},
          {MSG_GAME_RESULT, {0, 1, 0, 1, 0, 0, 0, 7}}},
         {"本局结束：alice[alice]中途认输！", "本局结束：bob[bob]超时判输！"}},
        {"ServersDraw",
         {{MSG_GAME_RESULT, {0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 5}}},
         {"本局结束：双方连续60回合没有吃子，判和！"}},
        {"Stalemate",
         {{MSG_GAME_RESULT, {0, 0, 0, 0, 0, 0, 0, 2}}},
         {"本局结束：无子可动，逼和！"}},
        {"AgreedDrawAfterARefusal",
         {{MSG_DRAW_ANSWER, {0, 1, 0, 5, 0, 0}},
          {MSG_DRAW_ANSWER, {0, 1, 0, 6, 0, 1}},
          {MSG_GAME_RESULT, {0, 1, 0, 0, 0xFF, 0xFF, 0x02, 0x8B}}},
         {"本局结束：双方同意和棋！"}},
        {"DrawResultWithoutANegotiation",
         {{MSG_GAME_STATE, std::vector<uint8_t>(28)},
          {MSG_GAME_RESULT, {0, 1, 0, 0, 0xFF, 0xFF, 0x02, 0x8B}}},
         {"本局结束：双方同意和棋！"}},
        {"Sealed",
         {{MSG_SEAL_ANSWER, {0, 1, 0, 5, 0, 0, 0, 0}}, {MSG_SEAL_ANSWER, {0, 1, 0, 7, 0, 1, 0, 0}}},
         {"双方续盘保存，本局结束！"}},
        {"TornResult", {{MSG_GAME_RESULT, {0, 0, 0, 1, 0, 0, 0x02}}}, {}},
    };
    for (const auto& c : cases) {
        Table t;
        for (const auto& [type, body] : c.steps)
            Deliver(t.chatView, type, body);
        EXPECT_EQ(t.chat.lines, c.lines) << c.name;
        for (uint32_t colour : t.chat.colours)
            EXPECT_EQ(colour, CHAT_SYSTEM_COLOUR) << c.name;
    }
}

TEST(ChatView, KeepsTheOpponentsBrokenConnectionMark) {
    Table t;
    Deliver(t.chatView, MSG_USER_BROKEN, IdBody(300)); // a watcher: no mark
    EXPECT_FALSE(t.context.State().OpponentDisconnected());
    Deliver(t.chatView, MSG_USER_BROKEN, IdBody(200));
    EXPECT_TRUE(t.context.State().OpponentDisconnected());
    Deliver(t.chatView, MSG_USER_STATUS, IdBody(200));
    EXPECT_FALSE(t.context.State().OpponentDisconnected());
}

TEST(GameinfoView, FollowsTheServersAnnouncements) {
    Table t;
    std::vector<uint8_t> two = Record(MakePerson(500, "eve", 0, 5));
    const auto frank = Record(MakePerson(600, "frank", 0, 5));
    two.insert(two.end(), frank.begin(), frank.end());
    Deliver(t.listView, MSG_TABLE_PERSONS, two);
    EXPECT_TRUE(t.people().IsPresent(500));
    EXPECT_TRUE(t.people().IsPresent(600));

    std::vector<uint8_t> ragged = Record(MakePerson(700, "gina", 0, 5));
    ragged.push_back(0);
    Deliver(t.listView, MSG_TABLE_PERSONS, ragged); // not whole records: nobody
    EXPECT_FALSE(t.people().IsPresent(700));

    Deliver(t.listView, MSG_USER_ENTER, Record(MakePerson(700, "gina", 0, 5)));
    EXPECT_TRUE(t.people().IsPresent(700));

    Deliver(t.listView, MSG_LEAVE_WATCH, IdBody(700, 10));
    EXPECT_FALSE(t.people().IsPresent(700));
    Deliver(t.listView, MSG_LEAVE_WATCH, IdBody(100, 10)); // the user: stays, the game ends
    EXPECT_TRUE(t.people().IsPresent(100));
    EXPECT_EQ(t.context.State().State(), GameState::Ended);
}

} // namespace
} // namespace kelo
