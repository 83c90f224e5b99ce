// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkFixture.h"

#include "link/MSG_SEQUENCE_START.h"
#include "link/MessageTypes.h"
#include "link/WireOrder.h"
#include "table/CPlayerManager.h"

namespace kelo::test {
namespace {

class SenderTest : public LinkFixture {
protected:
    // The server starts the numbered exchange with client counter S and comm counter C.
    void StartSequence(uint32_t s, uint32_t c) {
        const auto body = MSG_SEQUENCE_START_BODY{c, s, 42}.ToWire();
        Stream(ServerMessage(MSG_SEQUENCE_START, {body.begin(), body.end()}));
    }
    void SendMove() {
        const std::vector<uint8_t> step(20, 7);
        Layer().SendMessage(MSG_MOVE, step.data(), step.size());
    }
    // The body digest a server recomputes with the counters it expects.
    bool DigestMatches(size_t n, uint32_t client, uint32_t comm) const {
        const auto& bytes = socket.sent.at(n);
        const size_t bodyLength = bytes.size() - MSG_HEAD::SIZE - frame::BODY_DIGEST_SIZE;
        const auto digest =
            frame::BodyDigest(bytes.data() + MSG_HEAD::SIZE, bodyLength, client, comm);
        return std::equal(digest.begin(), digest.end(), bytes.end() - frame::BODY_DIGEST_SIZE);
    }
};

TEST_F(SenderTest, CountersBeforeAndAfterTheSequenceStart) {
    SendMove();
    SendMove();
    ASSERT_EQ(socket.sent.size(), 2u);
    for (size_t n = 0; n < 2; ++n) {
        EXPECT_EQ(SentHead(n).sequence, 5588u);
        EXPECT_EQ(SentHead(n).length, 37u);
        EXPECT_TRUE(MSG_HEAD::Check(socket.sent[n].data()));
        EXPECT_TRUE(DigestMatches(n, 5588, 2593));
    }

    StartSequence(1000, 77);
    EXPECT_TRUE(context.CommunicationLayer().SequenceMode());
    EXPECT_EQ(Layer().m_nSequence_Server, 42u);
    ASSERT_EQ(socket.sent.size(), 3u);
    EXPECT_EQ(SentHead(2).type, MSG_KEEP_ALIVE);
    EXPECT_EQ(SentHead(2).sequence, 1001u);
    EXPECT_EQ(socket.sent[2].size(), 49u);
    EXPECT_TRUE(DigestMatches(2, 1001, 77));

    SendMove();
    EXPECT_EQ(SentHead(3).sequence, 1002u);
    EXPECT_TRUE(DigestMatches(3, 1002, 77));
    // The start message still reaches the windows.
    ASSERT_EQ(sink.seen.size(), 1u);
    EXPECT_EQ(sink.seen[0].type, MSG_SEQUENCE_START);

    Layer().ResetSequence();
    SendMove();
    EXPECT_EQ(SentHead(4).sequence, 5588u);
    EXPECT_TRUE(DigestMatches(4, 5588, 2593));
}

struct RenameCase {
    const char* name;
    uint16_t type;
    bool sequenceMode;
    bool ownKnown;
    uint16_t sentType; // 0: nothing is sent
    TableRole role = TableRole::Player;
};

class SenderRenameTest : public SenderTest, public ::testing::WithParamInterface<RenameCase> {};

TEST_P(SenderRenameTest, OlderFormsBeforeTheSequenceStart) {
    const RenameCase& c = GetParam();
    if (c.ownKnown) {
        context.PlayerManager().AddPerson(MakePerson(4711, "me", 1));
        context.PlayerManager().SetOwnId(4711);
    }
    if (c.sequenceMode)
        StartSequence(500, 9);
    context.Mode().SetRole(c.role);
    socket.sent.clear();
    const std::vector<uint8_t> body(8, 0xAB);
    Layer().SendMessage(c.type, body.data(), body.size());
    ASSERT_EQ(socket.sent.size(), c.sentType != 0 ? 1u : 0u);
    if (c.sentType == 0)
        return;
    EXPECT_EQ(SentHead(0).type, c.sentType);
    if (c.sentType == MSG_LEAVE_SEAT) {
        const auto sent = SentBody(0);
        ASSERT_EQ(sent.size(), 8u);
        EXPECT_EQ(wire::GetU32(sent.data()), 4711u);
        EXPECT_EQ(wire::GetU16(sent.data() + 4), 1u);
    } else {
        EXPECT_EQ(SentBody(0), body);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SenderRenameTest,
    ::testing::Values(
        RenameCase{"ChatBefore", MSG_TABLE_CHAT, false, false, MSG_TABLE_CHAT_OLD},
        RenameCase{"ChatAfter", MSG_TABLE_CHAT, true, false, MSG_TABLE_CHAT},
        RenameCase{"LeaveBeforeOwnKnown", MSG_LEAVE_TABLE, false, true, MSG_LEAVE_SEAT},
        RenameCase{"LeaveBeforeOwnUnknown", MSG_LEAVE_TABLE, false, false, MSG_LEAVE_TABLE},
        RenameCase{"LeaveAfter", MSG_LEAVE_TABLE, true, true, MSG_LEAVE_TABLE},
        // The older leave is not among what a watcher may send.
        RenameCase{"WatcherLeaveBefore", MSG_LEAVE_TABLE, false, true, 0, TableRole::Watcher},
        RenameCase{"WatcherLeaveAfter", MSG_LEAVE_TABLE, true, true, MSG_LEAVE_TABLE,
                   TableRole::Watcher},
        RenameCase{"OldChatStays", MSG_TABLE_CHAT_OLD, true, false, MSG_TABLE_CHAT_OLD}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SenderTest, AWatcherSendsOnlyEnterChatLeaveAndKeepAlive) {
    context.Mode().SetRole(TableRole::Watcher);
    const struct {
        uint16_t type;
        bool passes;
    } cases[] = {{MSG_MOVE, false},        {MSG_TAKEBACK_REQUEST, false},
                 {MSG_GAME_RESULT, false}, {MSG_EXIT_REQUEST, false},
                 {MSG_ENTER_TABLE, true},  {MSG_TABLE_CHAT_OLD, true},
                 {MSG_KEEP_ALIVE, true},   {MSG_TABLE_CHAT, true},
                 {MSG_LEAVE_TABLE, true},  {MSG_LEAVE_WATCH, true}};
    for (const auto& c : cases) {
        socket.sent.clear();
        const uint8_t body[4] = {};
        Layer().SendMessage(c.type, body, sizeof body);
        EXPECT_EQ(socket.sent.size(), c.passes ? 1u : 0u) << c.type;
    }
}

TEST_F(SenderTest, NothingLeavesBeforeTheConnectionIsOpen) {
    CGameContext fresh;
    fresh.Mode().SetLocalMode(false);
    FakeSocketControl closed;
    ManualEventLoop quiet;
    CTableLink unconnected(fresh.CommunicationLayer(), fresh.Prompts(), quiet, closed);
    const uint8_t body[4] = {};
    fresh.CommunicationLayer().SendMessage(MSG_TABLE_CHAT, body, sizeof body);
    EXPECT_TRUE(closed.sent.empty());
    EXPECT_FALSE(quiet.IsTimerSet(&unconnected, CCommunicationLayer::KEEP_ALIVE_TIMER));
}

TEST_F(SenderTest, LocalModeHandsTheMessageToTheWindowsWithoutTouchingTheSocketOrCounters) {
    context.Mode().SetLocalMode(true);
    const uint8_t body[4] = {0x00, 0x01, 0x00, 0x02}; // already in wire order
    context.Sender().SendMessage(MSG_GAME_BEGIN, body, sizeof body);
    loop.RunPending();
    EXPECT_TRUE(socket.sent.empty());
    ASSERT_EQ(sink.seen.size(), 1u);
    EXPECT_EQ(sink.seen[0].type, MSG_GAME_BEGIN);
    EXPECT_EQ(sink.seen[0].length, 4u);
    EXPECT_EQ(sink.seen[0].body, std::vector<uint8_t>(body, body + 4));
    EXPECT_EQ(Layer().m_nSequence_Client, 5588u);
    EXPECT_FALSE(loop.IsTimerSet(&link, CCommunicationLayer::KEEP_ALIVE_TIMER));
}

TEST_F(SenderTest, EverySendRestartsTheKeepAliveTimer) {
    StartSequence(10, 20);
    socket.sent.clear();
    loop.Advance(29000);
    SendMove(); // pushes the keep-alive 30 s past this send
    loop.Advance(29999);
    EXPECT_EQ(socket.sent.size(), 1u);
    loop.Advance(1);
    ASSERT_EQ(socket.sent.size(), 2u);
    EXPECT_EQ(SentHead(1).type, MSG_KEEP_ALIVE);
    EXPECT_EQ(SentHead(1).sequence, 13u);
    loop.Advance(30000);
    EXPECT_EQ(socket.sent.size(), 3u);
}

TEST_F(SenderTest, NoKeepAliveBeforeTheSequenceStart) {
    SendMove();
    loop.Advance(90000);
    EXPECT_EQ(socket.sent.size(), 1u);
}

} // namespace
} // namespace kelo::test
