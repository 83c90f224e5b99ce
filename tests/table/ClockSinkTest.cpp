// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CGameContext.h"
#include "app/CTableClient.h"
#include "chess/CChnChessBoard.h"
#include "chess/ChessTypes.h"
#include "link/CMessageRev.h"
#include "link/CMessageSinkRegistry.h"
#include "link/MSG_GAME_RESULT.h"
#include "link/MSG_GAME_STATE.h"
#include "link/MSG_MOVE.h"
#include "link/MSG_START_INFO.h"
#include "link/MessageTypes.h"
#include "support/ManualEventLoop.h"
#include "support/QuietResumeDialogs.h"
#include "support/RecordingSink.h"
#include "support/TestSupport.h"
#include "table/CMainViewClock.h"
#include "table/CMainViewClockSink.h"
#include "table/CPlayerManager.h"
#include "table/CPlayerTimeControl.h"
#include "table/CTableBoard.h"

#include <gtest/gtest.h>

#include <memory>

namespace kelo {
namespace {

// White's client (id 100, seat 0) against id 200 on seat 1, with a watcher (id 300) behind
// seat 1. The messages come through one registry to the table client, whose clocks take them
// before the board; asked for the board first, a board, clocks and clock sink of its own are
// made and registered by hand the other way round. The clock is driven only through the
// messages.
struct SinkTable {
    explicit SinkTable(bool clockFirst = true) : registry(loop) {
        context.Mode().SetLocalMode(false);
        CPlayerManager& people = context.PlayerManager();
        people.SetSeatCount(2);
        people.AddPerson(test::MakePerson(100, "white", 0));
        people.AddPerson(test::MakePerson(200, "black", 1));
        PERSON watcher = test::MakePerson(300, "watcher", 1, WireValue(TableRole::Watcher));
        people.AddPerson(watcher);
        people.SetOwnId(100);
        if (clockFirst) {
            client = std::make_unique<CTableClient>(context, loop,
                                                    CTableClient::Ports{.resumeDialogs = dialogs});
            client->Attach(registry);
            return;
        }
        board = std::make_unique<CTableBoard>(context.Board(), context.Table());
        clock = std::make_unique<CMainViewClock>(context.Table(), context.TimeControl(),
                                                 context.Sender(), loop);
        sink = std::make_unique<CMainViewClockSink>(context.Table(), *clock, *board);
        registry.RegisterSink(board.get());
        registry.RegisterSink(sink.get());
        board->SetHandOn(&registry);
    }
    ~SinkTable() {
        if (board != nullptr)
            board->SetHandOn(nullptr);
    }
    void Deliver(uint16_t type, const std::vector<uint8_t>& body) {
        registry.HandOn(type, body.empty() ? nullptr : body.data(),
                        static_cast<uint32_t>(body.size()));
        loop.RunPending();
    }
    CMainViewClock& Clock() { return client != nullptr ? client->Clock() : *clock; }

    test::RecordingSender sender;
    CGameContext context{&sender};
    test::ManualEventLoop loop;
    test::QuietResumeDialogs dialogs;
    CMessageSinkRegistry registry;
    std::unique_ptr<CTableClient> client;
    // The board first: the board, the clocks and their messages made by hand.
    std::unique_ptr<CTableBoard> board;
    std::unique_ptr<CMainViewClock> clock;
    std::unique_ptr<CMainViewClockSink> sink;
};

std::vector<uint8_t> StartInfo(uint16_t firstSeat, uint16_t pace, size_t size) {
    MSG_START_INFO_BODY info;
    info.firstSeat = firstSeat;
    info.totalTime = 600;
    info.paceTime = pace;
    info.paceAddedTime = 3;
    info.maxTakeBacks = 2;
    info.takeBackCount = 1;
    return info.ToWire(size);
}

// A knight's move as the server relays it (squares x * 100 + y, rank 8 at y = 0), made in
// `clock` seconds.
std::vector<uint8_t> Knight(Colour colour, uint32_t from, uint32_t to, uint16_t clock,
                            uint16_t moveNumber = 1) {
    MSG_MOVE_BODY step;
    step.colour = static_cast<uint16_t>(WireValue(colour));
    step.kind = static_cast<uint16_t>(WireValue(PieceKind::Knight));
    step.from = from;
    step.to = to;
    step.clock = clock;
    step.moveNumber = moveNumber;
    const auto wire = step.ToWire();
    return {wire.begin(), wire.end()};
}

TEST(ClockSink, StartInformationSetsSeatsColoursAndClock) {
    for (uint16_t type : {MSG_GAME_INFO, MSG_START_INFO}) {
        SinkTable t;
        const size_t size = type == MSG_GAME_INFO ? 14 : 18;
        t.Deliver(type, StartInfo(1, 20, size));
        const CPlayerManager& people = t.context.PlayerManager();
        EXPECT_EQ(people.GetFirstMoverSeat(), 1) << type;
        EXPECT_EQ(people.GetPersonBySeat(1)->colour, Colour::White) << type;
        EXPECT_EQ(people.GetOwnColour(), Colour::Black) << type;
        EXPECT_EQ(people.GetPersonById(300)->colour, Colour::White) << "the watcher follows seat 1";
        EXPECT_EQ(t.context.TimeControl().m_nTotalTime, 600);
        EXPECT_EQ(t.context.TimeControl().m_nPaceTime, 20);
        EXPECT_EQ(t.context.TimeControl().m_nPaceAddedTime, 3);
        EXPECT_EQ(t.context.State().MaxTakeBacks(), 2);
        EXPECT_EQ(t.context.State().TakeBackCount(), 1);
    }
    SinkTable t;
    t.Deliver(MSG_START_INFO, std::vector<uint8_t>(13, 0xFF));
    EXPECT_EQ(t.context.TimeControl().m_nPaceTime, 60) << "a torn body was read";
}

// The start of play runs the clock; the side to move that does nothing loses on time, and it
// is the client of that side that says so.
TEST(ClockSink, StartOfPlayRunsTheClockToATimeOut) {
    SinkTable t;
    t.Deliver(MSG_START_INFO, StartInfo(0, 2, 18));
    t.context.State().BeginPlaying();
    t.Deliver(MSG_GAME_BEGIN, {});
    EXPECT_FALSE(t.Clock().IsRunning()) << "a start without its seat";
    t.Deliver(MSG_GAME_BEGIN, {0, 0, 0, 0});
    EXPECT_TRUE(t.Clock().IsRunning());
    t.loop.Advance(3000);
    EXPECT_TRUE(t.sender.sent.empty());
    t.loop.Advance(1000);
    ASSERT_EQ(t.sender.sent.size(), 1u);
    const auto result = MSG_GAME_RESULT_BODY::FromWire(t.sender.sent[0].body.data());
    EXPECT_EQ(result.winnerSeat, 1);
    EXPECT_EQ(result.reason, RESULT_REASON_TIMEOUT);
}

// The game before leaves nothing behind: the new-game message clears the counters, before the
// start of play clears them again.
TEST(ClockSink, ANewGameClearsTheClocks) {
    SinkTable t;
    t.Clock().m_nOwnUsedTime = 50;
    t.Clock().m_nOtherUsedTime = 70;
    t.Clock().m_nOwnLastMoveNumber = 7;
    t.Clock().m_nOtherLastMoveNumber = 6;
    t.Clock().m_nReplayCount = 3;
    t.context.TimeControl().m_nStepCounter = 12;
    t.Deliver(MSG_NEW_GAME, std::vector<uint8_t>(6, 0));
    EXPECT_EQ(t.Clock().RemainingTotal(true), 1800);
    EXPECT_EQ(t.Clock().RemainingTotal(false), 1800);
    EXPECT_EQ(t.Clock().MovesMade(true), 0);
    EXPECT_EQ(t.Clock().MovesMade(false), 0);
    EXPECT_EQ(t.Clock().m_nReplayCount, 0u);
    EXPECT_EQ(t.context.TimeControl().m_nStepCounter, 0);
}

// Joining a game with moves: the clock starts at the last replayed move, with the time the
// move in progress has already run (on the user's own move capped at the pace time minus 30),
// which the move's clock field charges when the move comes.
TEST(ClockSink, JoiningWithMovesStartsTheClockAtTheLastOne) {
    SinkTable t;
    MSG_GAME_STATE_BODY state;
    state.fields[3] = 1800;
    state.fields[4] = 60;
    state.fields[5] = 10;
    state.fields[12] = 100;
    state.fields[13] = 2;
    const auto head = state.ToWire();
    t.Deliver(MSG_GAME_STATE, {head.begin(), head.end()});
    EXPECT_FALSE(t.Clock().IsRunning());
    auto moves = Knight(Colour::White, 607, 505, 14);
    const auto black = Knight(Colour::Black, 600, 502, 12);
    moves.insert(moves.end(), black.begin(), black.end());
    t.Deliver(MSG_GAME_STATE_MOVES, moves);
    EXPECT_TRUE(t.Clock().IsRunning());
    EXPECT_EQ(t.context.TimeControl().m_nStepCounter, 30);
    EXPECT_EQ(t.Clock().m_nOwnUsedTime, 4);
    EXPECT_EQ(t.Clock().m_nOtherUsedTime, 2);
}

// The clocks charge what the board applied: a relayed move that does not fit the position
// (a knight from an empty square, or White's first move relayed a second time) costs nobody
// anything, whichever of the two takes the message first.
TEST(ClockSink, AMoveTheBoardRefusesIsNotCharged) {
    for (const bool clockFirst : {true, false}) {
        SinkTable t(clockFirst);
        t.Deliver(MSG_START_INFO, StartInfo(0, 60, 18));
        t.Deliver(MSG_GAME_BEGIN, {0, 0, 0, 0});
        t.Deliver(MSG_MOVE, Knight(Colour::White, 607, 505, 8));
        t.Deliver(MSG_MOVE, Knight(Colour::Black, 404, 303, 50, 7));
        t.Deliver(MSG_MOVE, Knight(Colour::Black, 600, 502, 9));
        t.Deliver(MSG_MOVE, Knight(Colour::White, 607, 505, 40, 2));
        EXPECT_EQ(t.Clock().m_nOwnUsedTime, 8 - 3) << clockFirst;
        EXPECT_EQ(t.Clock().m_nOtherUsedTime, 9 - 3) << clockFirst;
        EXPECT_EQ(t.Clock().MovesMade(false), 1) << clockFirst;
        EXPECT_EQ(t.context.Board().PlyCount(), 2) << clockFirst;
    }
}

} // namespace
} // namespace kelo
