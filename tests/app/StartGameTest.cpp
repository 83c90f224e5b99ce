// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartGame.h"
#include "app/CGameContext.h"
#include "app/IStartGameHost.h"
#include "support/TestSupport.h"
#include "table/CPlayerManager.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kelo {
namespace {

using test::MakePerson;

GAMESTR Str(const char* text) {
    GAMESTR s{};
    std::strncpy(s.str, text, sizeof(s.str) - 1);
    return s;
}

class FakeHost : public IStartGameHost {
public:
    void ShowWindow() override {
        ++shown;
        window = true;
    }
    bool HasMainWindow() const override { return window; }
    void ShowAdvMessage(const std::string& header, const std::string& link,
                        const std::string& text) override {
        lines.push_back(std::to_string(header.size()) + "|" + link + "|" + text);
    }
    void ShowInstantMessage(const std::string& text) override { lines.push_back(text); }
    int shown = 0;
    bool window = false;
    std::vector<std::string> lines;
};

class FakeEvents : public IStartGameEvents {
public:
    void AgreeOrNot(int16_t roomno, int16_t isagree, int32_t joinedId) override {
        events.push_back({roomno, isagree, joinedId});
    }
    struct Event {
        int16_t roomno, isagree;
        int32_t joinedId;
    };
    std::vector<Event> events;
};

struct StartGameTest : ::testing::Test {
    StartGameTest() : hall(context, &host) {
        context.SetPrompts(&prompts);
        hall.SetEventSink(&events);
    }
    CGameContext context;
    test::ScriptedPrompts prompts;
    FakeHost host;
    FakeEvents events;
    StartGame hall;
};

TEST_F(StartGameTest, StoresTheTableAsTheHallDescribesIt) {
    const PERSON a = MakePerson(0x12345, "alice", 0);
    const PERSON b = MakePerson(7, "bob", 1, 7);
    EXPECT_EQ(hall.AddPerson(&a), StartGame::S_OK);
    hall.AddPerson(&b);
    hall.AddPerson(nullptr);
    const GAMESTR bob = Str("bob"), nobody = Str("nobody");
    hall.SetMe(&nobody);
    EXPECT_EQ(context.PlayerManager().OwnId(), 0u);
    hall.SetMe(&bob);
    EXPECT_EQ(context.PlayerManager().OwnId(), 7u);
    EXPECT_EQ(context.PlayerManager().GetPersonBySeat(1)->person.status, 4);
    hall.SetMyID(0x12345);
    EXPECT_EQ(context.PlayerManager().GetOwnSeat(), 0);

    hall.SetSeatNum(2);
    EXPECT_EQ(context.PlayerManager().SeatCount(), 2);
    const GAMESTR host = Str("127.0.0.1");
    hall.SetGameSockIp(&host, -3); // sign-extended
    EXPECT_EQ(context.Hall().gameServerHost, "127.0.0.1");
    EXPECT_EQ(context.Hall().gameServerPort, 0xFFFFFFFDu);
    const int16_t levels[] = {42, 43};
    hall.AddRoomInfo(9, 2, levels);
    EXPECT_EQ(context.Hall().deskNo, 9);
    EXPECT_EQ(context.Hall().roomId, 42);
    hall.AddRoomInfo1(11, 5, 77);
    EXPECT_EQ(context.Hall().deskNo, 11);
    EXPECT_EQ(context.Hall().roomId, 77);
    EXPECT_EQ(context.Hall().sendTime, 5);
    hall.SetSubType(1, 2, 3, 4);
    EXPECT_EQ(context.Hall().serviceType, 1);
    EXPECT_EQ(context.Hall().gameType, 2);
    EXPECT_EQ(context.Hall().subType, 3);
    EXPECT_EQ(context.Hall().AdvertisementAddress(), "");
    const GAMESTR adv = Str("http://ads.example/t"), none = Str("");
    hall.SetAdvUrl(&adv, &none);
    EXPECT_EQ(context.Hall().AdvertisementAddress(),
              "http://ads.example/t?type=2&subtype=3&roomid=77");

    const GAMESTR user = Str("u"), pass = Str("p"), proxy = Str("proxy");
    hall.SetProxyStyle(1, 0, 1);
    hall.SetProxy(&proxy, 1080, &user, nullptr); // user and password only together
    EXPECT_EQ(context.Hall().proxyHost, "proxy");
    EXPECT_EQ(context.Hall().proxyUser, "");
    hall.SetProxy(&proxy, 1080, &user, &pass);
    EXPECT_EQ(context.Hall().proxyUser, "u");
    EXPECT_EQ(context.Hall().proxyPassword, "p");
    EXPECT_EQ(context.Hall().proxyPort, 1080);
}

TEST_F(StartGameTest, WatchStyleSetsLocalModeAndRole) {
    struct Case {
        int16_t style;
        bool local;
        int16_t role;
    } cases[] = {{2, true, 4}, {1, false, 5}, {0, false, 4}, {7, false, 4}};
    // Until the hall says otherwise the client is alone at its table, as a player.
    EXPECT_TRUE(context.Mode().LocalMode());
    EXPECT_EQ(context.Mode().Role(), TableRole::Player);
    for (const Case& c : cases) {
        hall.SetWatchStyle(c.style);
        EXPECT_EQ(context.Mode().LocalMode(), c.local) << c.style;
        EXPECT_EQ(WireValue(context.Mode().Role()), c.role) << c.style;
    }
}

TEST_F(StartGameTest, FixedAreasAreNeverOverrun) {
    GAMESTR full;
    std::memset(full.str, 'a', sizeof(full.str)); // no terminator at all
    hall.SetPageUrl(&full, nullptr);
    EXPECT_EQ(std::strlen(context.Hall().pageUrl.data()), 99u);
    EXPECT_EQ(context.Hall().helpUrl[0], 0);
    hall.SetComInfo(&full);
    EXPECT_EQ(context.Hall().comInfo.size(), 100u);

    BIG_GAMESTR head;
    std::memset(head.str, 'h', sizeof(head.str));
    hall.SetListHead(&head, 32000);
    EXPECT_EQ(context.Hall().listHeadLength, CHallSettings::LIST_HEAD_SIZE);
    hall.SetListHead(&head, 30);
    EXPECT_EQ(context.Hall().listHeadLength, 30u);
    hall.SetListHead(&head, -1);
    EXPECT_EQ(context.Hall().listHeadLength, 30u);
}

TEST_F(StartGameTest, JoinTeamAsksAndAnswersOnlyYes) {
    hall.SetMyID(0x00120034);
    const GAMESTR name = Str("carol");
    prompts.yesNoAnswer = false;
    hall.Join_Team(&name, 99);
    ASSERT_EQ(prompts.questions.size(), 1u);
    EXPECT_EQ(prompts.questions[0], "carol 邀请你加入他的团队，你同意吗？");
    EXPECT_TRUE(events.events.empty());
    prompts.yesNoAnswer = true;
    hall.Join_Team(&name, 99);
    ASSERT_EQ(events.events.size(), 1u);
    EXPECT_EQ(events.events[0].roomno, 0x34);
    EXPECT_EQ(events.events[0].isagree, 1);
    EXPECT_EQ(events.events[0].joinedId, 99);
}

TEST_F(StartGameTest, ChatLinesNeedTheWindow) {
    BIG_GAMESTR message{};
    std::memset(message.str, 'm', 300);
    hall.ShowInstantMessage(1, 2, &message, 300);
    EXPECT_TRUE(host.lines.empty());
    hall.ShowWindow();
    hall.ShowWindow();
    EXPECT_EQ(host.shown, 2);
    hall.ShowInstantMessage(1, 2, &message, 300);
    ASSERT_EQ(host.lines.size(), 1u);
    EXPECT_EQ(host.lines[0].size(), 199u);
    const GAMESTR link = Str("http://x");
    hall.SetAdvMessage(&message, 0, &link, &message);
    EXPECT_EQ(host.lines[1].substr(0, 12), "44|http://x|");
}

} // namespace
} // namespace kelo
