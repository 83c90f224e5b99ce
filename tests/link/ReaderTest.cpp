// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkFixture.h"

#include "link/MSG_GAME_STATE.h"
#include "link/MessageTypes.h"
#include "link/WireOrder.h"

namespace kelo::test {
namespace {

std::vector<uint8_t> Bytes(size_t n, uint8_t first = 1) {
    std::vector<uint8_t> out(n);
    for (size_t i = 0; i < n; ++i)
        out[i] = static_cast<uint8_t>(first + i);
    return out;
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

std::vector<uint8_t> GameStateHead(uint16_t records) {
    MSG_GAME_STATE_BODY state;
    state.fields[13] = records;
    const auto wire = state.ToWire();
    return {wire.begin(), wire.end()};
}

struct Handed {
    uint16_t type;
    uint32_t length;
};

struct ReadCase {
    const char* name;
    std::vector<uint8_t> stream;
    std::vector<Handed> handed;
    std::vector<size_t> requests; // every RecvData after the first header
};

class ReaderCases : public LinkFixture, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReaderCases, HandsOnWhatTheStreamHolds) {
    const ReadCase& c = GetParam();
    Stream(c.stream);
    ASSERT_EQ(sink.seen.size(), c.handed.size());
    for (size_t i = 0; i < c.handed.size(); ++i) {
        EXPECT_EQ(sink.seen[i].type, c.handed[i].type) << i;
        EXPECT_EQ(sink.seen[i].length, c.handed[i].length) << i;
        EXPECT_EQ(sink.seen[i].body.size(), c.handed[i].length) << i;
    }
    EXPECT_EQ(std::vector<size_t>(socket.requests.begin() + 1, socket.requests.end()), c.requests);
    EXPECT_EQ(link.Reader().GetPhase(), CMessageReader::Phase::Header);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderCases,
    ::testing::Values(
        ReadCase{"EmptyBody", ServerMessage(MSG_USER_STATUS, {}), {{MSG_USER_STATUS, 0}}, {32}},
        ReadCase{"OrdinaryBody", ServerMessage(MSG_MOVE, Bytes(37)), {{MSG_MOVE, 37}}, {37, 32}},
        ReadCase{"KeepAliveIsReadAndDropped", ServerMessage(MSG_KEEP_ALIVE, {}), {}, {32}},
        ReadCase{"KeepAliveWithABodyToo", ServerMessage(MSG_KEEP_ALIVE, Bytes(17)), {}, {17, 32}},
        ReadCase{"OldChatArrivesAsChat",
                 ServerMessage(MSG_TABLE_CHAT_OLD, Bytes(9)),
                 {{MSG_TABLE_CHAT, 9}},
                 {9, 32}},
        ReadCase{"GameStateWithoutRecords",
                 ServerMessage(MSG_GAME_STATE, GameStateHead(0)),
                 {{MSG_GAME_STATE, 28}},
                 {28, 32}},
        ReadCase{"GameStateWithThreeRecords",
                 Concat({ServerMessage(MSG_GAME_STATE, GameStateHead(3)), Bytes(60)}),
                 {{MSG_GAME_STATE, 28}, {MSG_GAME_STATE_MOVES, 60}},
                 {28, 60, 32}},
        ReadCase{"UnlockWithoutBodyTwice",
                 ServerMessage(MSG_TABLE_UNLOCK, {}),
                 {{MSG_TABLE_UNLOCK, 0}, {MSG_TABLE_UNLOCK, 0}},
                 {32}},
        ReadCase{"UnlockWithBody",
                 ServerMessage(MSG_TABLE_UNLOCK, Bytes(4)),
                 {{MSG_TABLE_UNLOCK, 0}, {MSG_TABLE_UNLOCK, 4}},
                 {4, 32}},
        // The start-up messages are read at their fixed sizes whatever the header says, and
        // the windows are told only of the bytes they get.
        ReadCase{"PrepareAsAnnounced",
                 ServerMessage(MSG_GAME_PREPARE, Bytes(40)),
                 {{MSG_GAME_PREPARE, 40}},
                 {40, 32}},
        ReadCase{"PrepareAnnouncingMore",
                 Concat({ServerHeader(MSG_GAME_PREPARE, 57), Bytes(40)}),
                 {{MSG_GAME_PREPARE, 40}},
                 {40, 32}},
        ReadCase{"PrepareAnnouncingLess",
                 Concat({ServerHeader(MSG_GAME_PREPARE, 20), Bytes(40)}),
                 {{MSG_GAME_PREPARE, 20}},
                 {40, 32}},
        ReadCase{"StartInfo",
                 ServerMessage(MSG_START_INFO, Bytes(18)),
                 {{MSG_START_INFO, 18}},
                 {18, 32}},
        ReadCase{"LargestAllowed",
                 ServerMessage(MSG_USER_ENTER, Bytes(65536)),
                 {{MSG_USER_ENTER, 65536}},
                 {65536, 32}},
        ReadCase{"MostRecords",
                 Concat({ServerMessage(MSG_GAME_STATE, GameStateHead(3276)), Bytes(3276 * 20)}),
                 {{MSG_GAME_STATE, 28}, {MSG_GAME_STATE_MOVES, 3276 * 20}},
                 {28, 65520, 32}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LinkFixture, BodiesReachEveryWindowAsTheyArrivedInOneSharedCopy) {
    RecordingSink second;
    link.RegisterSink(&second);
    link.RegisterSink(&sink); // a second registration changes nothing
    const auto body = Bytes(20);
    Stream(Concat({ServerMessage(MSG_MOVE, body), ServerMessage(MSG_DRAW_OFFER, Bytes(6))}));
    ASSERT_EQ(sink.seen.size(), 2u);
    ASSERT_EQ(second.seen.size(), 2u);
    EXPECT_EQ(sink.seen[0].body, body);
    EXPECT_EQ(second.seen[0].body, body);
    // One message, two shares: the first window sees both, the second the last one.
    EXPECT_EQ(sink.seen[0].refCount, 2u);
    EXPECT_EQ(second.seen[0].refCount, 1u);
    EXPECT_EQ(second.seen[1].type, MSG_DRAW_OFFER);
}

TEST_F(LinkFixture, HeadDigestMismatchIsReportedAndTheBodyStillRead) {
    auto bytes = ServerMessage(MSG_MOVE, Bytes(20));
    bytes[MSG_HEAD::DIGEST_OFFSET + 3] ^= 0xFF;
    Stream(bytes);
    ASSERT_EQ(prompts.notices.size(), 1u);
    EXPECT_EQ(prompts.notices[0], "信息传输错误！type=631,length=20\n");
    ASSERT_EQ(sink.seen.size(), 1u);
    EXPECT_EQ(sink.seen[0].body, Bytes(20));
    EXPECT_EQ(socket.LastRequest(), 32u);
}

TEST_F(LinkFixture, WithoutWindowsAMessageIsDroppedAtOnce) {
    link.UnregisterSink(&sink);
    Stream(ServerMessage(MSG_MOVE, Bytes(20)));
    EXPECT_EQ(loop.PendingCount(), 0u);
    EXPECT_TRUE(sink.seen.empty());
}

TEST_F(LinkFixture, AWindowThatLeavesBeforeDeliveryIsNotCalled) {
    RecordingSink second;
    link.RegisterSink(&second);
    socket.Deliver(ServerHeader(MSG_MOVE, 20));
    socket.Deliver(Bytes(20));
    link.UnregisterSink(&second);
    loop.RunPending(); // the message is freed all the same (checked by the sanitizer build)
    EXPECT_EQ(sink.seen.size(), 1u);
    EXPECT_TRUE(second.seen.empty());
}

TEST_F(LinkFixture, MessagesStillQueuedWhenTheLoopGoesAreFreed) {
    auto lonely = std::make_unique<ManualEventLoop>();
    CMessageSinkRegistry registry(*lonely);
    registry.RegisterSink(&sink);
    registry.HandOn(MSG_MOVE, Bytes(20).data(), 20);
    lonely.reset(); // the sanitizer build reports a leak if the share is lost
    EXPECT_TRUE(sink.seen.empty());
}

TEST_F(LinkFixture, TheFrameCanCloseTheTableOnAConnectionMessage) {
    observer.closingType = MSG_LOGIN_ELSEWHERE;
    Stream(Concat({ServerMessage(MSG_LOGIN_ELSEWHERE, {}), ServerMessage(MSG_MOVE, Bytes(20))}));
    EXPECT_TRUE(sink.seen.empty());
    EXPECT_EQ(observer.messages, std::vector<uint16_t>{MSG_LOGIN_ELSEWHERE});
    EXPECT_EQ(socket.requests.size(), 1u); // nothing asked for after the first header
    EXPECT_EQ(link.Reader().GetPhase(), CMessageReader::Phase::Stopped);
}

TEST_F(LinkFixture, EveryDataEventRestartsTheReceiveWatchdog) {
    loop.Advance(40000);
    Stream(ServerHeader(MSG_MOVE, 20));
    EXPECT_EQ(loop.TimerDue(&link, CTableLink::RECEIVE_TIMER), 85000u);
    loop.Advance(10000);
    Stream(Bytes(20));
    EXPECT_EQ(loop.TimerDue(&link, CTableLink::RECEIVE_TIMER), 95000u);
    // The server's keep-alive on a quiet table is data like any other.
    loop.Advance(40000);
    Stream(ServerMessage(MSG_KEEP_ALIVE, {}));
    EXPECT_EQ(loop.TimerDue(&link, CTableLink::RECEIVE_TIMER), 135000u);
    EXPECT_EQ(observer.messages, std::vector<uint16_t>{MSG_MOVE}) << "nor is it the frame's";
}

// A stream that cannot be read on is a lost connection: no allocation of the announced size,
// the socket closed, the frame told, and nothing more asked for.
struct BrokenCase {
    const char* name;
    std::vector<uint8_t> stream;
    size_t handed;
};

class BrokenStream : public LinkFixture, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenStream, StopsTheReaderAndClosesTheSocket) {
    const BrokenCase& c = GetParam();
    Stream(c.stream);
    const size_t requests = socket.requests.size();
    Stream(Bytes(64)); // whatever comes later is not read
    EXPECT_EQ(observer.lost, 1);
    EXPECT_EQ(socket.closeCount, 1);
    EXPECT_EQ(link.Reader().GetPhase(), CMessageReader::Phase::Stopped);
    EXPECT_EQ(socket.requests.size(), requests);
    EXPECT_EQ(sink.seen.size(), c.handed);
    EXPECT_TRUE(prompts.notices.empty());
    EXPECT_FALSE(loop.IsTimerSet(&link, CTableLink::RECEIVE_TIMER));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenStream,
    ::testing::Values(
        BrokenCase{"LengthAboveLimit", ServerHeader(MSG_MOVE, 65537), 0},
        BrokenCase{"LengthHuge", ServerHeader(MSG_USER_ENTER, 0xFFFFFFFF), 0},
        BrokenCase{"UnlockAboveLimit", ServerHeader(MSG_TABLE_UNLOCK, 70000), 0},
        BrokenCase{"TooManyRecords", ServerMessage(MSG_GAME_STATE, GameStateHead(3277)), 1},
        BrokenCase{"AllRecords", ServerMessage(MSG_GAME_STATE, GameStateHead(65535)), 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LinkFixture, ABlockOfAnotherSizeThanAskedForBreaksTheStream) {
    socket.Deliver(Bytes(31));
    EXPECT_EQ(observer.lost, 1);
    EXPECT_EQ(socket.closeCount, 1);
    link.OnConnect(1); // a new connection reads from the start again
    EXPECT_EQ(socket.LastRequest(), 32u);
    socket.Deliver(ServerHeader(MSG_MOVE, 20));
    socket.Deliver(Bytes(20));
    loop.RunPending();
    EXPECT_EQ(sink.seen.size(), 1u);
}

} // namespace
} // namespace kelo::test
