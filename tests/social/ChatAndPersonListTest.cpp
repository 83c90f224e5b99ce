// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CGbkConverter.h"
#include "link/CPersonRecord.h"
#include "link/CTableMode.h"
#include "link/MSG_SCORES.h"
#include "link/MSG_TABLE_CHAT.h"
#include "link/MessageTypes.h"
#include "link/WireOrder.h"
#include "social/CBaseGameinfoView.h"
#include "social/CZynChatImp.h"
#include "social/CZynPersonListImp.h"
#include "support/RecordingSink.h"
#include "support/TestSupport.h"
#include "table/CPlayerManager.h"
#include "table/CTableState.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace kelo {
namespace {

using test::Deliver;
using test::MakePerson;

PERSON Named(uint32_t id, const char* username, const char* nickname, int16_t seat,
             int16_t watchno = -1, int16_t status = 4) {
    PERSON person = MakePerson(id, username, seat, status);
    CGbkConverter::ToField(person.nickname, CGbkConverter::ToGbk(nickname));
    person.watchno = watchno;
    return person;
}

std::vector<uint8_t> Records(std::initializer_list<PERSON> people) {
    std::vector<uint8_t> body;
    for (const PERSON& person : people) {
        const auto wire = CPersonRecord::ToWire(person);
        body.insert(body.end(), wire.begin(), wire.end());
    }
    return body;
}

// A table of two players and a watcher; the user is one of them.
struct Table {
    explicit Table(uint32_t own = 100) {
        people.AddPerson(Named(100, "alice", "爱丽丝", 0));
        people.AddPerson(Named(200, "bob", "Bobo", 1));
        people.AddPerson(Named(300, "carol", "卡罗", 0, 1, 5));
        people.SetOwnId(own);
        mode.SetLocalMode(false);
    }
    std::vector<std::string> Usernames() const {
        std::vector<std::string> names;
        for (const PERSON& row : list.Rows())
            names.push_back(CZynPersonListImp::CellText(row, 0));
        return names;
    }
    CPlayerManager people;
    CTableState state;
    CTableMode mode;
    test::RecordingSender sender;
    bool linkUp = true;
    CZynChatImp chat{people, mode, sender, [this] { return linkUp; }};
    CZynPersonListImp list;
    CBaseGameinfoView view{people, state, &list};
};

std::string Utf8(const std::string& gbk) {
    return CGbkConverter::ToUtf8(gbk);
}

TEST(Chat, TheUsersLineNamesTheSpeaker) {
    const std::string longText(500, 'x');
    struct Case {
        const char* name;
        uint32_t own;
        std::string typed;
        std::string line; // UTF-8
        size_t bytes;     // on the wire, GBK
    } cases[] = {
        {"Player", 100, "你好", "爱丽丝(alice)说：你好", 0},
        {"Watcher", 300, "hi", "卡罗(carol[旁观])说：hi", 0},
        // Speaker "Bobo(bob)说：" is 13 bytes: the text keeps 387 of its 500.
        {"CutAt400", 200, longText, "Bobo(bob)说：" + std::string(387, 'x'), 400},
        // 13 bytes, then two-byte characters: byte 400 would split one, so 399 are kept.
        {"CutOnACharacter", 200,
         [] {
             std::string s;
             for (int i = 0; i < 250; ++i)
                 s += "棋";
             return s;
         }(),
         "", 399},
    };
    for (const Case& c : cases) {
        Table t(c.own);
        ASSERT_TRUE(t.chat.SendLine(c.typed)) << c.name;
        ASSERT_EQ(t.sender.sent.size(), 1u) << c.name;
        const auto& sent = t.sender.sent[0];
        EXPECT_EQ(sent.type, MSG_TABLE_CHAT) << c.name;
        const std::string line(sent.body.begin() + MSG_TABLE_CHAT_BODY::SIZE, sent.body.end() - 1);
        EXPECT_EQ(sent.body.back(), 0) << c.name;
        EXPECT_EQ(sent.body.size(), line.size() + 49) << c.name;
        if (!c.line.empty()) {
            EXPECT_EQ(Utf8(line), c.line) << c.name;
        }
        if (c.bytes != 0) {
            EXPECT_EQ(line.size(), c.bytes) << c.name;
        }
        EXPECT_EQ(Utf8(CGbkConverter::CutGbk(line, line.size())), Utf8(line)) << c.name;
        EXPECT_EQ(Utf8(line).find("\xEF\xBF\xBD"), std::string::npos) << c.name << ": split";

        MSG_TABLE_CHAT_BODY head;
        ASSERT_TRUE(MSG_TABLE_CHAT_BODY::FromWire(sent.body.data(), sent.body.size(), head));
        const PERSON& own = t.people.GetOwnRecord()->person;
        EXPECT_EQ(head.id, own.id) << c.name;
        EXPECT_EQ(head.seatno, static_cast<uint16_t>(own.seatno)) << c.name;
        EXPECT_EQ(head.watchno, static_cast<uint16_t>(own.watchno)) << c.name;
        EXPECT_EQ(head.colour, CZynChatImp::OWN_COLOUR) << c.name;
    }
}

// A head as a peer on a little-endian machine writes it: id 2002, seat 1, watch number 0xFFFF,
// the colour 0x0000FF at byte 28. The line is shown in that colour, and the head read back names
// the sender.
TEST(Chat, ReadsAHeadWrittenInItsOwnByteOrder) {
    Table t;
    std::vector<uint8_t> body(48, 0);
    const uint8_t fields[][2] = {{0, 0xD2}, {1, 0x07}, {4, 0x01}, {6, 0xFF}, {7, 0xFF}, {28, 0xFF}};
    for (const auto& [at, byte] : fields)
        body[at] = byte;
    for (char c : std::string("hi"))
        body.push_back(static_cast<uint8_t>(c));
    body.push_back(0);
    Deliver(t.chat, MSG_TABLE_CHAT, body);
    ASSERT_EQ(t.chat.Lines().size(), 1u);
    EXPECT_EQ(t.chat.Lines()[0].text, "hi");
    EXPECT_EQ(t.chat.Lines()[0].colour, 0x0000FFu);
    EXPECT_EQ(t.chat.LastHead().id, 2002u);
    EXPECT_EQ(t.chat.LastHead().seatno, 1u);
    EXPECT_EQ(t.chat.LastHead().watchno, 0xFFFFu);

    // And a line sent goes out in the same order: the own id in the first four bytes, lowest
    // byte first.
    Table own;
    ASSERT_TRUE(own.chat.SendLine("x"));
    const auto& sent = own.sender.sent.at(0).body;
    const uint32_t id = own.people.GetOwnRecord()->person.id;
    EXPECT_EQ(sent[0], id & 0xFF);
    EXPECT_EQ(sent[1], (id >> 8) & 0xFF);
    EXPECT_EQ(sent[2], (id >> 16) & 0xFF);
    EXPECT_EQ(sent[3], id >> 24);
    EXPECT_EQ(sent[28], CZynChatImp::OWN_COLOUR & 0xFF);
}

TEST(Chat, SendsNothingAloneOrWithoutTheLink) {
    struct Case {
        const char* name;
        bool local, linkUp;
        uint32_t own;
        std::string typed;
    } cases[] = {
        {"LocalMode", true, true, 100, "hi"},
        {"LinkDown", false, false, 100, "hi"},
        {"NoOwnRecord", false, true, 999, "hi"},
        {"Empty", false, true, 100, ""},
    };
    for (const Case& c : cases) {
        Table t(c.own);
        t.mode.SetLocalMode(c.local);
        t.linkUp = c.linkUp;
        t.chat.SetInput(c.typed);
        EXPECT_FALSE(t.chat.SendInput()) << c.name;
        EXPECT_TRUE(t.sender.sent.empty()) << c.name;
        EXPECT_EQ(t.chat.Input(), c.typed) << c.name << ": the typing is kept";
    }
}

TEST(Chat, ShowsReceivedLinesInTheirHeadsColour) {
    Table t;
    MSG_TABLE_CHAT_BODY head;
    head.id = 200;
    head.colour = 0x0000A000;
    head.formatText = {'F', 'o', 'n', 't'};
    const auto wire = head.ToWire();
    std::vector<uint8_t> body(wire.begin(), wire.end());
    const std::string text = CGbkConverter::ToGbk("Bob(bob)说：你好");
    body.insert(body.end(), text.begin(), text.end());
    body.push_back(0);
    std::vector<CZynChatImp::Line> told;
    t.chat.onLine = [&](const CZynChatImp::Line& line) { told.push_back(line); };
    Deliver(t.chat, MSG_TABLE_CHAT, body);
    // Without its ending zero the text stops at the body's end.
    body.pop_back();
    Deliver(t.chat, MSG_TABLE_CHAT, body);
    Deliver(t.chat, MSG_TABLE_CHAT, {1, 2, 3}); // shorter than a head: nothing
    t.chat.AddSystemLine("没能成功连上游戏服务器！！", CHAT_SYSTEM_COLOUR);

    ASSERT_EQ(t.chat.Lines().size(), 3u);
    EXPECT_EQ(t.chat.Lines()[0].text, "Bob(bob)说：你好");
    EXPECT_EQ(t.chat.Lines()[0].colour, 0x0000A000u);
    EXPECT_EQ(t.chat.Lines()[1].text, "Bob(bob)说：你好");
    EXPECT_EQ(t.chat.Lines()[2].colour, 255u);
    EXPECT_TRUE(t.chat.Lines()[2].system);
    EXPECT_EQ(told.size(), 3u);
    EXPECT_EQ(t.chat.LastHead().formatText, head.formatText);
    EXPECT_EQ(t.chat.LastText(), text);
}

TEST(Chat, TheHallsAdvertisementIsALinkedLineInItsHeadersColour) {
    Table t;
    std::string header(CZynChatImp::ADV_HEADER_SIZE, '\0');
    const uint32_t colour = 0x00336699;
    std::memcpy(header.data() + CZynChatImp::ADV_COLOUR_AT, &colour, sizeof colour);
    t.chat.AddAdvertisement(header, "https://example.org/", CGbkConverter::ToGbk("新棋谱"));
    t.chat.AddAdvertisement("short", "", "x"); // a header without its colour: plain text
    ASSERT_EQ(t.chat.Lines().size(), 2u);
    EXPECT_EQ(t.chat.Lines()[0].text, "新棋谱");
    EXPECT_EQ(t.chat.Lines()[0].link, "https://example.org/");
    EXPECT_EQ(t.chat.Lines()[0].colour, colour);
    EXPECT_EQ(t.chat.Lines()[1].colour, CHAT_TEXT_COLOUR);
}

TEST(PersonList, AnnouncementsFillTheListAndMarkTheUser) {
    Table t;
    // The server's records carry no names: the names the hall gave stay.
    Deliver(t.view, MSG_TABLE_PERSONS,
            Records({MakePerson(100, "", 0), MakePerson(200, "", 1), MakePerson(300, "", 0, 5)}));
    EXPECT_EQ(t.Usernames(), (std::vector<std::string>{"alice", "bob", "carol"}));
    EXPECT_EQ(CZynPersonListImp::CellText(t.list.Rows()[0], 1), "爱丽丝");
    EXPECT_TRUE(t.list.HasSelf());
    EXPECT_EQ(t.list.SelfId(), 100u);

    Deliver(t.view, MSG_USER_ENTER, Records({Named(400, "dave", "Dave", 0, 2, 5)}));
    EXPECT_EQ(t.Usernames(), (std::vector<std::string>{"alice", "bob", "carol", "dave"}));

    std::vector<uint8_t> leave(10);
    wire::PutU32(leave.data(), 300);
    Deliver(t.view, MSG_LEAVE_WATCH, leave);
    EXPECT_EQ(t.Usernames(), (std::vector<std::string>{"alice", "bob", "dave"}));
    EXPECT_FALSE(t.people.IsPresent(300));
    wire::PutU32(leave.data(), 100); // the user: the list is let go, the game ends
    Deliver(t.view, MSG_LEAVE_WATCH, leave);
    EXPECT_TRUE(t.list.Rows().empty());
    EXPECT_EQ(t.state.State(), GameState::Ended);
}

TEST(PersonList, RaggedPersonListAddsNobodyButMarksTheUser) {
    Table t;
    std::vector<uint8_t> body = Records({Named(500, "eve", "Eve", 0, 3, 5)});
    body.push_back(0);
    Deliver(t.view, MSG_TABLE_PERSONS, body);
    EXPECT_TRUE(t.list.Rows().empty());
    EXPECT_FALSE(t.people.IsPresent(500));
    EXPECT_TRUE(t.list.HasSelf());
    EXPECT_EQ(t.list.SelfId(), 100u);
}

TEST(PersonList, ExtraDataUpTo64RecordsInHostOrder) {
    struct Case {
        const char* name;
        size_t records;
        bool kept;
    } cases[] = {{"One", 1, true}, {"SixtyFour", 64, true}, {"SixtyFive", 65, false}};
    for (const Case& c : cases) {
        Table t;
        std::vector<uint8_t> body(c.records * CZynPersonListImp::EXTRA_SIZE);
        for (size_t i = 0; i < c.records; ++i) {
            uint8_t* record = body.data() + i * CZynPersonListImp::EXTRA_SIZE;
            wire::PutU32(record, static_cast<uint32_t>(1000 + i));
            wire::PutU32(record + 20, 0x01020304);
            wire::PutU16(record + 24, 0x0708);
            wire::PutU16(record + 98, 0x090A);
            wire::PutU16(record + 172, 0x0506);
            record[30] = 0x77;  // not an integer: as it came
            record[175] = 0x66; // nor the last byte
        }
        Deliver(t.view, MSG_PERSON_UPDATE, body);
        const std::vector<uint8_t>& first = t.list.ExtraData(1000);
        const std::vector<uint8_t>& last = t.list.ExtraData(static_cast<uint32_t>(999 + c.records));
        EXPECT_EQ(!first.empty(), c.kept) << c.name;
        EXPECT_EQ(!last.empty(), c.kept) << c.name;
        if (!c.kept)
            continue;
        uint32_t u32 = 0;
        std::memcpy(&u32, first.data() + 20, 4);
        EXPECT_EQ(u32, 0x01020304u) << c.name;
        for (auto [at, value] :
             {std::pair<size_t, uint16_t>{24, 0x0708}, {98, 0x090A}, {172, 0x0506}}) {
            uint16_t u16 = 0;
            std::memcpy(&u16, first.data() + at, 2);
            EXPECT_EQ(u16, value) << c.name << " at " << at;
        }
        EXPECT_EQ(first[30], 0x77) << c.name;
        EXPECT_EQ(first[175], 0x66) << c.name;
    }
}

TEST(PersonList, ScoresUpdateBothPlayersRows) {
    Table t;
    t.view.FillList();
    MSG_SCORES_BODY scores;
    scores.points = {10, -10};
    scores.total = {1510, 1490};
    scores.won = {3, 1};
    scores.lost = {1, 3};
    scores.drawn = {2, 2};
    const auto wire = scores.ToWire();
    Deliver(t.view, MSG_SCORES, {wire.begin(), wire.end()});
    const char* expected[2][4] = {{"1510", "3", "1", "2"}, {"1490", "1", "3", "2"}};
    for (size_t row = 0; row < 2; ++row) {
        for (int column = 4; column < 8; ++column)
            EXPECT_EQ(CZynPersonListImp::CellText(t.list.Rows()[row], column),
                      expected[row][column - 4])
                << row << "," << column;
    }
    EXPECT_EQ(t.people.GetPersonBySeat(1)->person.gamescore, 1490);
    EXPECT_EQ(t.Usernames(), (std::vector<std::string>{"alice", "bob", "carol"}));
}

TEST(PersonList, ThePersonEventAddressesThePersonInTheChat) {
    Table t;
    t.view.FillList();
    t.list.onPersonEvent = [&](const PERSON& person) { t.chat.AddressPerson(person); };
    int told = 0;
    t.chat.onInputChanged = [&] { ++told; };
    t.list.RaisePersonEvent(2);
    EXPECT_EQ(t.chat.Input(), "卡罗[carol],");
    t.list.RaisePersonEvent(7); // no such row
    EXPECT_EQ(told, 1);
}

TEST(PersonList, TheHallsTitlesReplaceTheColumns) {
    CZynPersonListImp list;
    char area[3 * CZynPersonListImp::LIST_HEAD_SLOT] = {};
    CGbkConverter::ToField(area, 15, CGbkConverter::ToGbk("用户"));
    CGbkConverter::ToField(area + 30, 15, CGbkConverter::ToGbk("执子色"));
    list.SetListHead(area, sizeof area);
    EXPECT_EQ(list.Title(0), "用户");
    EXPECT_EQ(list.Title(1), "昵称"); // an empty slot keeps the title
    EXPECT_EQ(list.Title(2), "执子色");
    EXPECT_EQ(list.Title(7), "平局数");
}

} // namespace
} // namespace kelo
