// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CGameContext.h"
#include "app/CMainFrame.h"
#include "app/IMainFrameHost.h"
#include "app/StartGame.h"
#include "link/CCommunicationLayer.h"
#include "link/MSG_ENTER_TABLE.h"
#include "link/MSG_HEAD.h"
#include "link/MSG_SEQUENCE_START.h"
#include "link/MessageFrame.h"
#include "link/MessageTypes.h"
#include "link/WireOrder.h"
#include "support/FakeSocketControl.h"
#include "support/ManualEventLoop.h"
#include "support/StreamFeeder.h"
#include "support/TableStates.h"
#include "support/TestSupport.h"
#include "table/CNegotiationDialog.h"
#include "table/CPlayerManager.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace kelo {
namespace {

using test::MakePerson;

class FakeHost : public IMainFrameHost {
public:
    void AddSystemLine(const std::string& text, uint32_t colour) override {
        lines.push_back(text);
        EXPECT_EQ(colour, CHAT_SYSTEM_COLOUR);
    }
    void CloseWindow(TableClose why) override {
        ++closes;
        closedFor = why;
    }
    void SaveGame(int mode) override { saves.push_back(mode); }
    void OpenExitDialog(bool requestMode, uint16_t seat, const std::string& text) override {
        exitDialogs.push_back((requestMode ? "request " : "answer ") + std::to_string(seat) + " " +
                              text);
    }
    std::vector<std::string> lines;
    int closes = 0;
    TableClose closedFor = TableClose::Closed;
    std::vector<int> saves;
    std::vector<std::string> exitDialogs;
};

// A socket control whose test may answer each connection attempt as it is made.
class AnsweringSocket : public test::FakeSocketControl {
public:
    bool Connect(const std::string& host, int32_t port) override {
        FakeSocketControl::Connect(host, port);
        if (onConnect)
            onConnect();
        return true;
    }
    std::function<void()> onConnect;
};

std::vector<uint8_t> Body16(std::initializer_list<uint32_t> fields,
                            std::initializer_list<int> sizes) {
    std::vector<uint8_t> body;
    auto size = sizes.begin();
    for (uint32_t v : fields) {
        const int n = *size++;
        for (int i = n - 1; i >= 0; --i)
            body.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    return body;
}

// A client at desk 7: alice (id 100) on seat 0, bob (id 200) on seat 1; alice is the user.
class MainFrameTest : public ::testing::Test {
protected:
    explicit MainFrameTest(uint16_t giveUpAfter = CMainFrame::GIVE_UP_AFTER)
        : frame{context, loop, socket, host, giveUpAfter} {
        context.Mode().SetLocalMode(false);
        context.SetPrompts(&prompts);
        CPlayerManager& people = context.PlayerManager();
        people.SetSeatCount(2);
        PERSON alice = MakePerson(100, "alice", 0);
        alice.watchno = -1;
        people.AddPerson(alice);
        people.AddPerson(MakePerson(200, "bob", 1));
        people.AddPerson(MakePerson(300, "carol", 0, 5));
        people.SetOwnId(100);
        CHallSettings& hall = context.Hall();
        hall.gameServerHost = "game.example";
        hall.gameServerPort = static_cast<uint32_t>(static_cast<int32_t>(int16_t(-30000)));
        hall.deskNo = 7;
        hall.serviceType = 1;
        hall.gameType = 2;
        hall.subType = 3;
    }

    // Connects and lets the connection open.
    void Open() {
        frame.Connect();
        feeder.Restart();
        frame.Link().OnConnect(1);
    }
    void Server(uint16_t type, const std::vector<uint8_t>& body) {
        feeder.Stream(frame::BuildServerFrame(type, body.data(), body.size(), 1));
    }
    uint16_t SentType(size_t n) const { return MSG_HEAD::Decode(socket.sent.at(n).data()).type; }
    std::vector<uint8_t> SentBody(size_t n) const {
        const auto& bytes = socket.sent.at(n);
        return {bytes.begin() + MSG_HEAD::SIZE, bytes.end() - frame::BODY_DIGEST_SIZE};
    }

    CGameContext context;
    test::ScriptedPrompts prompts;
    test::ManualEventLoop loop;
    AnsweringSocket socket;
    FakeHost host;
    CMainFrame frame;
    test::StreamFeeder feeder{socket, loop};
};

TEST_F(MainFrameTest, EntersTheTableOnceConnected) {
    Open();
    ASSERT_EQ(socket.connects.size(), 1u);
    EXPECT_EQ(socket.connects[0], "game.example:35536"); // the low 16 bits of the hall's port
    ASSERT_EQ(socket.sent.size(), 1u);
    EXPECT_EQ(SentType(0), MSG_ENTER_TABLE);
    const auto enter = MSG_ENTER_TABLE_BODY::FromWire(SentBody(0).data());
    EXPECT_EQ(enter.id, 100u);
    EXPECT_EQ(enter.deskno, 7);
    EXPECT_EQ(enter.seatno, 0);
    EXPECT_EQ(enter.watchno, 0xFFFF);
    EXPECT_EQ(enter.servicetype, 1);
    EXPECT_EQ(enter.gametype, 2);
    EXPECT_EQ(enter.subtype, 3);
    EXPECT_EQ(socket.LastRequest(), MSG_HEAD::SIZE);
    EXPECT_EQ(loop.TimerPeriod(&frame.Link(), CMainFrame::ENTER_TIMER), 150000u);
    EXPECT_EQ(frame.LinkDown(), 0);
    // The server's answer stops the entry timer.
    Server(MSG_TABLE_PERSONS, {});
    EXPECT_FALSE(loop.IsTimerSet(&frame.Link(), CMainFrame::ENTER_TIMER));
}

TEST_F(MainFrameTest, WithoutTheOwnRecordNothingIsEntered) {
    context.PlayerManager().SetOwnId(999);
    Open();
    EXPECT_TRUE(socket.sent.empty());
    EXPECT_EQ(prompts.notices, std::vector<std::string>{"无法获得用户号！"});
}

TEST_F(MainFrameTest, ProxySetUpFollowsTheHallsChoice) {
    struct Case {
        int32_t use;
        uint16_t selector;
        int32_t password;
        int16_t port;     // as the hall hands it over
        const char* call; // nullptr: no proxy
    } cases[] = {
        {0, 1, 1, 8080, nullptr},
        {1, 0, 1, 8080, "UseProxy 1 proxy:8080"},
        {1, 1, 0, 8080, "UseProxyAuth 2 proxy:8080 /"},
        {1, 1, 1, 8080, "UseProxyAuth 3 proxy:8080 user/secret"},
        {1, 2, 0, 8080, "UseProxy 4 proxy:8080"},
        {1, 7, 1, 8080, "UseProxyAuth 4 proxy:8080 user/secret"},
        // Above 32767 the port arrives negative; its low 16 bits are meant, as for the server.
        {1, 0, 0, -25536, "UseProxy 1 proxy:40000"},
        {1, 1, 1, -1, "UseProxyAuth 3 proxy:65535 user/secret"},
    };
    const GAMESTR proxyHost = [] {
        GAMESTR text{};
        std::strcpy(text.str, "proxy");
        return text;
    }();
    StartGame startGame(context, nullptr);
    for (const Case& c : cases) {
        CHallSettings& hall = context.Hall();
        hall.useProxy = c.use;
        hall.proxySelector = c.selector;
        hall.proxyWithPassword = c.password;
        startGame.SetProxy(&proxyHost, c.port, nullptr, nullptr);
        hall.proxyUser = "user";
        hall.proxyPassword = "secret";
        socket.proxies.clear();
        frame.Connect();
        if (c.call == nullptr)
            EXPECT_TRUE(socket.proxies.empty()) << c.selector;
        else
            EXPECT_EQ(socket.proxies, std::vector<std::string>{c.call}) << c.selector;
    }
}

TEST_F(MainFrameTest, LocalModeNeverTouchesTheSocket) {
    context.Mode().SetLocalMode(true);
    frame.Connect();
    EXPECT_TRUE(socket.connects.empty());
    EXPECT_EQ(socket.closeCount, 0);
}

TEST_F(MainFrameTest, SilenceReconnectsWithFreshCountersAndGivesUpOnTheThird) {
    Open();
    MSG_SEQUENCE_START_BODY start;
    start.sequenceClient = 4000;
    start.sequenceComm = 77;
    const auto wire = start.ToWire();
    Server(MSG_SEQUENCE_START, {wire.begin(), wire.end()});
    EXPECT_TRUE(context.CommunicationLayer().SequenceMode());
    Server(MSG_TABLE_PERSONS, {});

    loop.Advance(44999);
    EXPECT_EQ(socket.connects.size(), 1u);
    loop.Advance(1);
    EXPECT_EQ(socket.connects.size(), 2u);
    EXPECT_FALSE(context.CommunicationLayer().SequenceMode());
    EXPECT_EQ(context.CommunicationLayer().m_nSequence_Client,
              CCommunicationLayer::INITIAL_SEQUENCE_CLIENT);
    EXPECT_EQ(frame.LinkDown(), 1);
    EXPECT_EQ(host.lines.back(), "正在断线重连，请稍后……");
    EXPECT_EQ(frame.m_nRetryCount, 1);

    // The attempts fail: each one is retried 5 s later, and the third gives up.
    context.State().BeginPlaying();
    prompts.yesNoAnswer = true;
    frame.Link().OnConnect(0);
    loop.Advance(5000);
    EXPECT_EQ(socket.connects.size(), 3u);
    EXPECT_EQ(host.closes, 0);
    frame.Link().OnConnect(0);
    loop.Advance(5000);
    EXPECT_EQ(socket.connects.size(), 4u);
    EXPECT_EQ(host.closes, 1);
    EXPECT_EQ(context.State().State(), GameState::Ended);
    EXPECT_EQ(prompts.questions.back(), "不能连接服务器，游戏结束，您要保存棋局么？ [保存/放弃]");
    EXPECT_EQ(host.saves, std::vector<int>{2});
    EXPECT_TRUE(frame.OnClose()); // the frame's own close needs no question
    // One line for the whole outage, however many attempts failed in it.
    EXPECT_EQ(host.lines, std::vector<std::string>{"正在断线重连，请稍后……"});
}

// The first connection fails: the outage is told by its failure, once.
TEST_F(MainFrameTest, AFirstConnectionThatFailsIsToldOnceAndGivenUpAfterThreeAttempts) {
    frame.Connect();
    for (int attempt = 1; attempt <= 3; ++attempt) {
        frame.Link().OnConnect(0);
        EXPECT_EQ(host.closes, 0);
        loop.Advance(CMainFrame::RETRY_PERIOD_MS);
        EXPECT_EQ(socket.connects.size(), 1u + attempt);
    }
    EXPECT_EQ(host.closes, 1);
    EXPECT_EQ(host.lines, std::vector<std::string>{"没能成功连上游戏服务器！！"});
    EXPECT_EQ(prompts.questions,
              std::vector<std::string>{"不能连接服务器，游戏结束，您要保存棋局么？ [保存/放弃]"});
}

// A server that takes every connection and drops it at once, with or without saying something
// first (its sequence start): the entry is never answered, so the attempts are counted across
// the connections, each 5 s after the drop before it, and the third ends the outage with the
// question; the chat hears of it once. Nothing more follows the given-up table.
TEST_F(MainFrameTest, AServerThatAcceptsAndDropsIsGivenUpAfterThreeAttempts) {
    // The sequence start as the server sends it: comm 77 at 8, client 4000 at 16, server 9 at 24.
    const std::vector<uint8_t> sequenceStart = {0, 0, 0, 0, 0,    0,    0, 0, 0, 0, 0, 77, 0, 0,
                                                0, 0, 0, 0, 0x0F, 0xA0, 0, 0, 0, 0, 0, 0,  0, 9};
    for (const bool says : {false, true}) {
        SCOPED_TRACE(says ? "with a first message" : "without a word");
        CGameContext ctx;
        ctx.Mode().SetLocalMode(false);
        test::ScriptedPrompts answers;
        ctx.SetPrompts(&answers);
        ctx.PlayerManager().AddPerson(MakePerson(100, "alice", 0));
        ctx.PlayerManager().SetOwnId(100);
        ctx.State().BeginPlaying();
        test::ManualEventLoop l;
        AnsweringSocket s;
        FakeHost h;
        CMainFrame f(ctx, l, s, h);
        test::StreamFeeder server(s, l);
        std::vector<uint64_t> attempts;
        s.onConnect = [&] {
            attempts.push_back(l.Now());
            // A client that never gives up would keep the test going forever.
            if (attempts.size() > 20)
                return;
            l.Post([&] {
                server.Restart();
                s.events->OnConnect(1);
                if (says)
                    server.Stream(frame::BuildServerFrame(MSG_SEQUENCE_START, sequenceStart.data(),
                                                          sequenceStart.size(), 1));
                s.events->OnClose();
            });
        };
        f.Connect();
        l.RunPending();
        EXPECT_EQ(h.lines, std::vector<std::string>{"正在断线重连，请稍后……"});
        EXPECT_EQ(f.LinkDown(), 1);
        if (says)
            EXPECT_FALSE(ctx.CommunicationLayer().SequenceMode()) << "the drop resets the counters";
        l.Advance(60000);
        EXPECT_EQ(attempts, (std::vector<uint64_t>{0, 5000, 10000, 15000}));
        EXPECT_EQ(h.closes, 1);
        EXPECT_EQ(h.closedFor, TableClose::ServerLost);
        EXPECT_EQ(answers.questions, std::vector<std::string>{
                                         "不能连接服务器，游戏结束，您要保存棋局么？ [保存/放弃]"});
        EXPECT_EQ(h.lines.size(), 1u);
        EXPECT_EQ(ctx.State().State(), GameState::Ended);
    }
}

// Only a connection whose entry the server answered (3106) ends an outage: the next loss is a
// new outage, told again and given its own three attempts.
TEST_F(MainFrameTest, AnAnsweredEntryEndsTheOutage) {
    Open();
    Server(MSG_TABLE_PERSONS, {});
    for (int outage = 1; outage <= 2; ++outage) {
        socket.events->OnClose();
        EXPECT_EQ(host.lines.size(), static_cast<size_t>(outage));
        EXPECT_EQ(host.lines.back(), "正在断线重连，请稍后……");
        // The first attempt is taken and dropped without an answer, the second answered.
        loop.Advance(CMainFrame::RETRY_PERIOD_MS);
        feeder.Restart();
        frame.Link().OnConnect(1);
        socket.events->OnClose();
        loop.Advance(CMainFrame::RETRY_PERIOD_MS);
        feeder.Restart();
        frame.Link().OnConnect(1);
        EXPECT_EQ(frame.m_nRetryCount, 2);
        Server(MSG_TABLE_PERSONS, {});
        EXPECT_EQ(frame.m_nRetryCount, 0);
    }
    EXPECT_EQ(host.closes, 0);
    EXPECT_EQ(host.lines.size(), 2u);
}

TEST_F(MainFrameTest, NoAnswerToTheEntryReconnectsAndCountsTheAttempt) {
    Open();
    loop.Advance(149999);
    EXPECT_EQ(socket.connects.size(), 1u);
    loop.Advance(1);
    EXPECT_EQ(socket.connects.size(), 2u);
    EXPECT_EQ(frame.m_nRetryCount, 1);
    EXPECT_FALSE(loop.IsTimerSet(&frame.Link(), CMainFrame::ENTER_TIMER));
    // A counter kept from the attempts before (they failed) reaches three here.
    feeder.Restart();
    frame.Link().OnConnect(1);
    frame.m_nRetryCount = 2;
    loop.Advance(150000);
    EXPECT_EQ(host.closes, 1);
    EXPECT_EQ(prompts.notices.back(), "不能连接服务器，游戏结束");
    EXPECT_EQ(context.State().State(), GameState::Ended);
    EXPECT_EQ(frame.m_nRetryCount, 0);
}

// A tool that is restarted rather than reconnected: the first failure gives the server up.
class MainFrameWithoutRetriesTest : public MainFrameTest {
protected:
    MainFrameWithoutRetriesTest() : MainFrameTest(0) {}
};

TEST_F(MainFrameWithoutRetriesTest, TheFirstFailureGivesUpWithoutTryingAgain) {
    // A connection that cannot be made.
    frame.Connect();
    frame.Link().OnConnect(0);
    EXPECT_EQ(socket.connects.size(), 1u);
    EXPECT_EQ(host.closes, 1);
    EXPECT_EQ(host.closedFor, TableClose::ServerLost);
    EXPECT_TRUE(host.lines.empty());

    // A connection that the server closes, whether or not it said anything first. Each case
    // opens the table anew.
    for (bool heard : {false, true}) {
        frame.m_bClosing = false;
        Open();
        if (heard)
            Server(MSG_TABLE_PERSONS, {});
        socket.events->OnClose();
        EXPECT_EQ(host.closedFor, TableClose::ServerLost);
    }
    EXPECT_EQ(host.closes, 3);
    EXPECT_EQ(socket.connects.size(), 3u);
    EXPECT_FALSE(loop.IsTimerSet(&frame.Link(), CTableLink::RECEIVE_TIMER));

    // Silence after the entry, and no answer to it.
    frame.m_bClosing = false;
    Open();
    Server(MSG_TABLE_PERSONS, {});
    loop.Advance(CTableLink::RECEIVE_PERIOD_MS);
    EXPECT_EQ(host.closes, 4);
    frame.m_bClosing = false;
    Open();
    loop.Advance(CMainFrame::ENTER_PERIOD_MS);
    EXPECT_EQ(host.closes, 5);
    EXPECT_EQ(prompts.notices.back(), "不能连接服务器，游戏结束");
    EXPECT_EQ(socket.connects.size(), 5u);
}

// A broken stream and a close, after a word of the server or none, take the link down at once
// and wait the pause of a failed attempt before the next one.
TEST_F(MainFrameTest, ALostConnectionIsTriedAgainAfterThePause) {
    const std::vector<std::function<void()>> losses = {
        [&] {
            // A header that announces more than a message may hold.
            MSG_HEAD head;
            head.type = 631;
            head.length = 70000;
            const auto wire = head.Encode(1);
            feeder.Stream({wire.begin(), wire.end()});
        },
        [&] { socket.events->OnClose(); },
        [&] {
            Server(MSG_TABLE_PERSONS, {});
            socket.events->OnClose();
        },
    };
    for (size_t n = 0; n < losses.size(); ++n) {
        host = FakeHost{};
        socket.connects.clear();
        frame.m_nRetryCount = 0;
        Open();
        losses[n]();
        EXPECT_EQ(frame.LinkDown(), 1) << n;
        EXPECT_EQ(host.lines, std::vector<std::string>{"正在断线重连，请稍后……"}) << n;
        EXPECT_FALSE(loop.IsTimerSet(&frame.Link(), CMainFrame::ENTER_TIMER)) << n;
        loop.Advance(CMainFrame::RETRY_PERIOD_MS - 1);
        EXPECT_EQ(socket.connects.size(), 1u) << n;
        loop.Advance(1);
        EXPECT_EQ(socket.connects.size(), 2u) << n;
        EXPECT_EQ(frame.m_nRetryCount, 1) << n;
        // The outage's line is not written again by its attempt.
        EXPECT_EQ(host.lines.size(), 1u) << n;
        // The server answers this one: the outage is over.
        feeder.Restart();
        frame.Link().OnConnect(1);
        Server(MSG_TABLE_PERSONS, {});
    }
}

TEST_F(MainFrameTest, ConnectionMessages) {
    struct Case {
        const char* name;
        uint16_t type;
        std::vector<uint8_t> body;
        int16_t gameState;
        bool closes;
        // What the user is told, and how: a message box (notice), the question box (verify)
        // or the information dialog with its countdown, modal; nullptr: nothing.
        const char* told;
        std::vector<int> saves;
        int16_t role;
    } cases[] = {
        {"OtherUserStatus",
         MSG_USER_STATUS,
         Body16({200, 1, 1}, {4, 2, 2}),
         0,
         false,
         nullptr,
         {},
         4},
        {"OwnStatusWatcher",
         MSG_USER_STATUS,
         Body16({100, 0, 0}, {4, 2, 2}),
         0,
         false,
         nullptr,
         {},
         5},
        {"OwnStatusGone", MSG_USER_STATUS, Body16({100, 2, 1}, {4, 2, 2}), 0, true, nullptr, {}, 4},
        {"ConnectFailed",
         MSG_USER_CONNECT,
         Body16({0, 0, 0, 0, 200}, {2, 2, 2, 2, 4}),
         0,
         true,
         "verify 用户\"bob\"连接失败，游戏结束！ [确定/取消]",
         {},
         4},
        {"ConnectFailedUnknown",
         MSG_USER_CONNECT,
         Body16({0, 0, 0, 0, 999}, {2, 2, 2, 2, 4}),
         0,
         true,
         nullptr,
         {},
         4},
        // The result is read as soon as the body reaches it.
        {"ConnectFailedShort",
         MSG_USER_CONNECT,
         Body16({0, 0, 0}, {2, 2, 2}),
         0,
         true,
         nullptr,
         {},
         4},
        {"ConnectOkShort", MSG_USER_CONNECT, Body16({0, 1}, {2, 2}), 0, false, nullptr, {}, 4},
        {"ConnectResultTorn", MSG_USER_CONNECT, Body16({0, 0}, {2, 1}), 0, false, nullptr, {}, 4},
        {"ConnectOk",
         MSG_USER_CONNECT,
         Body16({0, 1, 0, 0, 200}, {2, 2, 2, 2, 4}),
         0,
         false,
         nullptr,
         {},
         4},
        {"LoginElsewhere",
         MSG_LOGIN_ELSEWHERE,
         {},
         2,
         true,
         "notice 你的账号已经在别处登陆了,关闭游戏",
         {},
         4},
        {"LeaveForced",
         MSG_LEAVE_TABLE,
         Body16({200, 0, 1}, {4, 2, 2}),
         2,
         true,
         "information 用户“bob”强行退出,游戏结束!",
         {1},
         4},
        {"LeaveBroken",
         MSG_LEAVE_TABLE,
         Body16({200, 0, 2}, {4, 2, 2}),
         3,
         true,
         "information 用户“bob”断线无法重连,游戏结束!",
         {},
         4},
        {"Dissolved",
         MSG_LEAVE_TABLE,
         Body16({200, 0, 6}, {4, 2, 2}),
         0,
         true,
         "information 本局游戏被解散，游戏结束!",
         {},
         4},
        {"LeaveUnknown", MSG_LEAVE_TABLE, Body16({999, 0, 1}, {4, 2, 2}), 0, true, nullptr, {}, 4},
        {"LeaveOther",
         MSG_LEAVE_TABLE,
         Body16({200, 0, 9}, {4, 2, 2}),
         0,
         true,
         "information 游戏结束！",
         {},
         4},
        {"OwnWatchLeave",
         MSG_LEAVE_WATCH,
         Body16({100, 0, 0, 0}, {4, 2, 2, 2}),
         2,
         true,
         nullptr,
         {1},
         4},
        {"OtherWatchLeave",
         MSG_LEAVE_WATCH,
         Body16({300, 0, 0, 0}, {4, 2, 2, 2}),
         2,
         false,
         nullptr,
         {},
         4},
        {"ShortBody", MSG_LEAVE_WATCH, {1, 2}, 2, false, nullptr, {}, 4},
    };
    for (const Case& c : cases) {
        host = FakeHost{};
        prompts = test::ScriptedPrompts{};
        test::EnterState(context.State(), static_cast<GameState>(c.gameState));
        context.Mode().SetRole(TableRole::Player);
        Open();
        Server(c.type, c.body);
        EXPECT_EQ(host.closes, c.closes ? 1 : 0) << c.name;
        if (c.closes) {
            EXPECT_EQ(host.closedFor, c.type == MSG_LOGIN_ELSEWHERE ? TableClose::LoggedInElsewhere
                                                                    : TableClose::Closed)
                << c.name;
        }
        std::vector<std::string> told;
        for (const std::string& text : prompts.notices)
            told.push_back("notice " + text);
        for (const std::string& text : prompts.questions)
            told.push_back("verify " + text);
        for (size_t i = 0; i < prompts.informations.size(); ++i)
            told.push_back((prompts.modalInformations[i] ? "information " : "modeless ") +
                           prompts.informations[i]);
        EXPECT_EQ(told,
                  c.told != nullptr ? std::vector<std::string>{c.told} : std::vector<std::string>{})
            << c.name;
        EXPECT_EQ(host.saves, c.saves) << c.name;
        EXPECT_EQ(WireValue(context.Mode().Role()), c.role) << c.name;
        frame.m_bClosing = false;
    }
}

TEST_F(MainFrameTest, ExitRequestIsAnsweredOnlyByTheOtherPlayer) {
    Open();
    Server(MSG_EXIT_REQUEST, Body16({0, 0, 0}, {4, 2, 2}));
    EXPECT_TRUE(host.exitDialogs.empty());
    context.Mode().SetRole(TableRole::Watcher);
    Server(MSG_EXIT_REQUEST, Body16({0, 1, 0}, {4, 2, 2}));
    EXPECT_TRUE(host.exitDialogs.empty());
    context.Mode().SetRole(TableRole::Player);
    Server(MSG_EXIT_REQUEST, Body16({0, 1, 0}, {4, 2, 2}));
    EXPECT_EQ(host.exitDialogs, std::vector<std::string>{"answer 1 对方请求退出，你同意么？"});
}

// The server's refusal (3033) names the requester at offset 4; only that client is told, in the
// information dialog, modally.
TEST_F(MainFrameTest, ExitRefusalIsAModalInformationForTheRequester) {
    Open();
    Server(MSG_EXIT_DISCOURAGE, {0, 0, 0, 0, 0, 0, 0, 200, 0, 0, 0, 0});
    EXPECT_TRUE(prompts.informations.empty());
    Server(MSG_EXIT_DISCOURAGE, {0, 0, 0, 0, 0, 0, 0, 100, 0, 0, 0, 0});
    EXPECT_EQ(prompts.informations, std::vector<std::string>{"请不要中途退出，玩完这把好吧？"});
    EXPECT_EQ(prompts.modalInformations, std::vector<bool>{true});
    EXPECT_TRUE(prompts.notices.empty());
}

// The server ends the table (3026, bob forced out): the notice is the table's information
// dialog, modal, which closes itself when its 20 s have run out, with nobody there to click;
// only then is the game saved and the table closed. The server drops the connection while the
// notice is open, and nothing is reconnected.
TEST_F(MainFrameTest, TheLeaveNoticeClosesItselfAfterItsCountdown) {
    // Plays the modal wait on the test's loop, a second at a time, as the window's loop would.
    class CountdownPrompts : public test::ScriptedPrompts {
    public:
        CountdownPrompts(test::ManualEventLoop& loop, std::function<void()> whileOpen)
            : m_loop(loop), m_whileOpen(std::move(whileOpen)) {}
        void ShowInformation(const std::string& text, bool modal) override {
            ScriptedPrompts::ShowInformation(text, modal);
            CNegotiationDialog dialog(
                CNegotiationDialog::Kind::Information, true, m_loop,
                [this](int32_t id) { closedBy = id; }, text);
            lines.push_back(dialog.CountdownLine());
            const uint64_t opened = m_loop.Now();
            while (!dialog.IsClosed() && m_loop.Now() - opened < 60000) {
                m_loop.Advance(1000);
                m_whileOpen();
                if (!dialog.IsClosed())
                    lines.push_back(dialog.CountdownLine());
            }
            openFor = m_loop.Now() - opened;
        }
        int32_t closedBy = 0;
        uint64_t openFor = 0;
        std::vector<std::string> lines;

    private:
        test::ManualEventLoop& m_loop;
        std::function<void()> m_whileOpen;
    };
    bool dropped = false;
    size_t savesWhileOpen = 0;
    int closesWhileOpen = 0;
    CountdownPrompts countdown(loop, [&] {
        if (!dropped)
            socket.events->OnClose();
        dropped = true;
        savesWhileOpen += host.saves.size();
        closesWhileOpen += host.closes;
    });
    context.SetPrompts(&countdown);
    Open();
    Server(MSG_TABLE_PERSONS, {});
    context.State().BeginPlaying();
    Server(MSG_LEAVE_TABLE, {0, 0, 0, 200, 0, 0, 0, 1});
    EXPECT_EQ(countdown.informations, std::vector<std::string>{"用户“bob”强行退出,游戏结束!"});
    EXPECT_EQ(countdown.modalInformations, std::vector<bool>{true});
    EXPECT_TRUE(countdown.notices.empty());
    EXPECT_EQ(countdown.openFor, 20000u);
    EXPECT_EQ(countdown.closedBy, CNegotiationDialog::ID_REFUSE);
    ASSERT_EQ(countdown.lines.size(), 20u);
    EXPECT_EQ(countdown.lines.front(), "[20]用户“bob”强行退出,游戏结束!");
    EXPECT_EQ(countdown.lines.back(), "[1]用户“bob”强行退出,游戏结束!");
    EXPECT_EQ(savesWhileOpen, 0u);
    EXPECT_EQ(closesWhileOpen, 0);
    EXPECT_EQ(host.saves, std::vector<int>{1});
    EXPECT_EQ(host.closes, 1);
    loop.Advance(60000);
    EXPECT_EQ(socket.connects.size(), 1u);
    EXPECT_TRUE(host.lines.empty());
}

// A user's failed connection (3003, result 0, bob's id at 8) is told in the table's question box,
// and either of its buttons closes the table.
TEST_F(MainFrameTest, AFailedConnectionOfAUserIsToldInTheQuestionBox) {
    for (const bool answer : {true, false}) {
        host = FakeHost{};
        prompts = test::ScriptedPrompts{};
        prompts.yesNoAnswer = answer;
        frame.m_bClosing = false;
        Open();
        Server(MSG_USER_CONNECT, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 200});
        EXPECT_EQ(prompts.questions,
                  std::vector<std::string>{"用户\"bob\"连接失败，游戏结束！ [确定/取消]"});
        EXPECT_TRUE(prompts.notices.empty());
        EXPECT_EQ(host.closes, 1);
    }
}

TEST(MainFrameLocalTest, ClosingALocalGameInProgressAsksAndOffersTheSave) {
    for (const bool agree : {false, true}) {
        CGameContext ctx;
        test::ScriptedPrompts answers;
        answers.yesNoAnswer = agree;
        ctx.SetPrompts(&answers);
        test::ManualEventLoop l;
        test::FakeSocketControl s;
        FakeHost h;
        CMainFrame f(ctx, l, s, h);
        ctx.State().BeginPlaying();
        EXPECT_EQ(f.OnClose(), agree);
        EXPECT_EQ(answers.questions,
                  std::vector<std::string>{"您真的要结束本局游戏么？ [确定/取消]"});
        EXPECT_EQ(h.saves, agree ? std::vector<int>{1} : std::vector<int>{});
        EXPECT_TRUE(h.exitDialogs.empty());
        // Without a game under way it closes at once.
        ctx.State().End(GameEnd::Result);
        answers.questions.clear();
        EXPECT_TRUE(f.OnClose());
        EXPECT_TRUE(answers.questions.empty());
    }
}

TEST_F(MainFrameTest, CloseDecision) {
    struct Case {
        const char* name;
        bool opponentBroken;
        bool answer;
        int16_t role;
        int16_t gameState;
        uint16_t linkDown;
        bool closes;
        uint16_t sentType; // 0: nothing sent
        const char* dialog;
    } cases[] = {
        {"WaitForOpponent", true, false, 4, 2, 0, false, 0, nullptr},
        {"StopWaiting", true, true, 4, 2, 0, true, MSG_LEAVE_TABLE, nullptr},
        {"Watcher", false, false, 5, 2, 0, true, MSG_LEAVE_WATCH, nullptr},
        {"DuringGame", false, false, 4, 2, 0, false, 0, "request 0 "},
        {"DuringGameLinkDown", false, false, 4, 2, 1, true, MSG_LEAVE_TABLE, nullptr},
        {"NoGame", false, false, 4, 0, 0, true, MSG_LEAVE_TABLE, nullptr},
    };
    for (const Case& c : cases) {
        CGameContext ctx;
        ctx.Mode().SetLocalMode(false);
        test::ScriptedPrompts answers;
        answers.yesNoAnswer = c.answer;
        ctx.SetPrompts(&answers);
        ctx.PlayerManager().AddPerson(MakePerson(100, "alice", 0));
        ctx.PlayerManager().SetOwnId(100);
        test::ManualEventLoop l;
        test::FakeSocketControl s;
        FakeHost h;
        CMainFrame f(ctx, l, s, h);
        f.Link().OnConnect(1);
        // A failed attempt to connect again takes the link down.
        if (c.linkDown != 0)
            f.OnConnect(0);
        ASSERT_EQ(f.LinkDown(), c.linkDown) << c.name;
        s.sent.clear();
        if (c.opponentBroken)
            ctx.State().MarkOpponentBroken();
        ctx.Mode().SetRole(static_cast<TableRole>(c.role));
        test::EnterState(ctx.State(), static_cast<GameState>(c.gameState));
        EXPECT_EQ(f.OnClose(), c.closes) << c.name;
        if (c.sentType == 0) {
            EXPECT_TRUE(s.sent.empty()) << c.name;
        } else {
            ASSERT_EQ(s.sent.size(), 1u) << c.name;
            const uint16_t type = MSG_HEAD::Decode(s.sent[0].data()).type;
            // Before the numbered exchange a leave goes out in its older form.
            EXPECT_EQ(type, c.sentType == MSG_LEAVE_TABLE ? MSG_LEAVE_SEAT : c.sentType) << c.name;
        }
        // Waiting for an opponent who dropped out is asked in a message box with OK and Cancel.
        EXPECT_EQ(answers.questions,
                  c.opponentBroken
                      ? std::vector<std::string>{"对方断线了，您确定不再等待一会了么？ [OK/Cancel]"}
                      : std::vector<std::string>{})
            << c.name;
        if (c.dialog != nullptr)
            EXPECT_EQ(h.exitDialogs, std::vector<std::string>{c.dialog}) << c.name;
        else
            EXPECT_TRUE(h.exitDialogs.empty()) << c.name;
    }
}

} // namespace
} // namespace kelo
