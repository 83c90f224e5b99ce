// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CGameContext.h"
#include "link/MSG_GAME_RESULT.h"
#include "support/ManualEventLoop.h"
#include "support/RecordingSound.h"
#include "support/TestSupport.h"
#include "table/CMainViewClock.h"
#include "table/CPlayerManager.h"
#include "table/CPlayerTimeControl.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kelo {
namespace {

// White (id 100) on seat 0, Black (id 200) on seat 1; the own client is White's.
// A watcher (id 300) behind seat 0 is the own client when asked for.
struct ClockTable {
    explicit ClockTable(bool local = false, bool watcher = false)
        : clock(context.Table(), context.TimeControl(), context.Sender(), loop, nullptr, &sound) {
        CPlayerManager& people = context.PlayerManager();
        people.SetSeatCount(2);
        people.AddPerson(test::MakePerson(100, "white", 0));
        people.AddPerson(test::MakePerson(200, "black", 1));
        people.SetColour(100, Colour::White);
        people.SetColour(200, Colour::Black);
        people.SetOwnId(100);
        if (watcher) {
            people.AddPerson(test::MakePerson(300, "watcher", 0, WireValue(TableRole::Watcher)));
            people.SetColour(300, Colour::White);
            people.SetOwnId(300);
            context.Mode().SetRole(TableRole::Watcher);
        }
        context.Mode().SetLocalMode(local);
        context.State().BeginPlaying();
    }
    std::vector<MSG_GAME_RESULT_BODY> Results() const {
        std::vector<MSG_GAME_RESULT_BODY> results;
        for (const auto& sent : sender.sent)
            results.push_back(MSG_GAME_RESULT_BODY::FromWire(sent.body.data()));
        return results;
    }
    test::RecordingSender sender;
    CGameContext context{&sender};
    test::ManualEventLoop loop;
    test::RecordingSound sound;
    CMainViewClock clock;
};

// The start of play shows both clocks as they now stand, then brings the table forward.
TEST(Clock, StartRedrawsBothClocks) {
    struct View : IClockView {
        void RedrawClock(bool ownSide) override { calls.push_back(ownSide ? "own" : "other"); }
        void BringToFront() override { calls.push_back("front"); }
        std::vector<std::string> calls;
    } view;
    ClockTable t;
    CMainViewClock clock(t.context.Table(), t.context.TimeControl(), t.context.Sender(), t.loop,
                         &view);
    clock.StartClock();
    std::sort(view.calls.begin(), view.calls.end() - 1);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"other", "own", "front"}));
}

TEST(Clock, TimeOutCases) {
    struct Case {
        const char* name;
        bool local;
        uint16_t turnSeat;
        int16_t usedTime; // of the side to move
        uint64_t quietMs; // ticks that pass without a result
        int16_t winner;   // -1: no result at all
        // The opponent's connection has gone (3016); the own client only watches.
        bool opponentGone = false;
        bool watcher = false;
    } cases[] = {
        {"PaceTime", false, 0, 0, 61000, 1},
        {"TotalTime", false, 0, 1790, 11000, 1},
        {"OpponentNotJudged", false, 1, 0, 200000, -1},
        {"LocalOwnSide", true, 0, 0, 61000, 1},
        {"LocalOtherSide", true, 1, 0, 61000, 0},
        // An opponent who is gone cannot report its own loss: the player waiting does.
        {"AbsentOpponentPaceTime", false, 1, 0, 61000, 0, true},
        {"AbsentOpponentTotalTime", false, 1, 1790, 11000, 0, true},
        {"AbsentOwnSideStillOwn", false, 0, 0, 61000, 1, true},
        {"WatcherNeverJudgesAbsentPlayer", false, 1, 0, 200000, -1, true, true},
    };
    for (const Case& c : cases) {
        ClockTable t(c.local, c.watcher);
        if (c.opponentGone)
            t.context.State().MarkOpponentBroken();
        t.context.PlayerManager().SetCurrentTurnSeat(c.turnSeat);
        t.clock.StartClock();
        (c.turnSeat == 0 ? t.clock.m_nOwnUsedTime : t.clock.m_nOtherUsedTime) = c.usedTime;
        t.loop.Advance(c.quietMs);
        EXPECT_TRUE(t.sender.sent.empty()) << c.name;
        t.loop.Advance(1000);
        if (c.winner < 0) {
            EXPECT_TRUE(t.sender.sent.empty()) << c.name;
            continue;
        }
        const auto results = t.Results();
        ASSERT_EQ(results.size(), 1u) << c.name;
        EXPECT_EQ(results[0].senderSeat, 0) << c.name;
        EXPECT_EQ(results[0].decisive, 1) << c.name;
        EXPECT_EQ(results[0].winnerSeat, c.winner) << c.name;
        EXPECT_EQ(results[0].reason, RESULT_REASON_TIMEOUT) << c.name;
        // Reported once: the timer is gone.
        EXPECT_FALSE(t.loop.IsTimerSet(&t.clock, CMainViewClock::CLOCK_TIMER)) << c.name;
        t.loop.Advance(10000);
        EXPECT_EQ(t.sender.sent.size(), 1u) << c.name;
    }
}

// A clock the user plays on turns red under 10 s and ticks once a second; the opponent's is
// neither, except at a local table where both clocks are the user's. Move time 60 s, total 1800 s.
TEST(Clock, LowTimeIsRedAndTicks) {
    struct Case {
        const char* name;
        bool local;
        uint16_t turnSeat;
        int16_t usedTime; // of the side to move
        uint64_t ms;
        size_t ticks;
        bool lowMove, lowTotal;
    } cases[] = {
        {"10 s of the move left", false, 0, 0, 50000, 0, false, false},
        {"own move time", false, 0, 0, 52000, 2, true, false},
        {"own total time", false, 0, 1785, 6000, 1, true, true},
        {"the opponent's clock", false, 1, 0, 55000, 0, false, false},
        {"a local table's other side", true, 1, 0, 52000, 2, true, false},
    };
    for (const Case& c : cases) {
        ClockTable t(c.local);
        const test::RecordingSound& sound = t.sound;
        t.context.PlayerManager().SetCurrentTurnSeat(c.turnSeat);
        t.clock.StartClock();
        const bool own = c.turnSeat == 0;
        (own ? t.clock.m_nOwnUsedTime : t.clock.m_nOtherUsedTime) = c.usedTime;
        t.loop.Advance(c.ms);
        EXPECT_EQ(sound.waves, std::vector<uint16_t>(c.ticks, ISoundPlayer::WAVE_LOW_TIME))
            << c.name;
        EXPECT_EQ(t.clock.LowMoveTime(own), c.lowMove) << c.name;
        EXPECT_EQ(t.clock.LowTotalTime(own), c.lowTotal) << c.name;
        // The side not to move shows its full move time, never red.
        EXPECT_FALSE(t.clock.LowMoveTime(!own)) << c.name;
    }
}

TEST(Clock, StopsAtTheFirstTickAfterTheGameEnds) {
    ClockTable t;
    t.clock.StartClock();
    t.loop.Advance(3000);
    EXPECT_EQ(t.context.TimeControl().m_nStepCounter, 3);
    t.context.State().End(GameEnd::Result);
    t.loop.Advance(1000);
    EXPECT_FALSE(t.clock.IsRunning());
    EXPECT_EQ(t.context.TimeControl().m_nStepCounter, 3);
}

TEST(Clock, MovesChargeTheMoverAndCreditTheAddedTime) {
    ClockTable t;
    t.clock.StartClock();
    t.context.TimeControl().m_nStepCounter = 17;
    t.clock.OnMoveClock(Colour::White, 1, 4); // White, move 1, made in 4 s
    EXPECT_EQ(t.clock.m_nOwnUsedTime, -6);
    EXPECT_EQ(t.clock.m_nOwnLastMoveNumber, 1);
    EXPECT_EQ(t.context.TimeControl().m_nStepCounter, 0);
    t.clock.OnMoveClock(Colour::Black, 1, 25);
    EXPECT_EQ(t.clock.m_nOtherUsedTime, 15);
    EXPECT_EQ(t.clock.MovesMade(false), 1);
    t.clock.OnTakeBack(1);
    EXPECT_EQ(t.clock.MovesMade(true), 0);
    EXPECT_EQ(t.clock.MovesMade(false), 0);
}

TEST(Clock, JoiningAGameRecoversTheMoveInProgress) {
    // No moves to replay: the step counter starts at once. On the user's own move it is capped
    // at pace - 30; the time is charged by the move's clock field when it comes, not before.
    struct Case {
        const char* name;
        bool watcher;
        uint16_t firstSeat;
        int16_t step;
    } cases[] = {
        {"OwnMove", false, 0, 30},
        {"OpponentsMove", false, 1, 100},
        {"Watcher", true, 0, 100},
    };
    for (const Case& c : cases) {
        ClockTable t(false, c.watcher);
        t.context.PlayerManager().SetCurrentTurnSeat(c.firstSeat);
        t.clock.OnGameState(c.firstSeat, 100, 0);
        EXPECT_EQ(t.context.TimeControl().m_nStepCounter, c.step) << c.name;
        EXPECT_EQ(t.clock.m_nOwnUsedTime, 0) << c.name;
        EXPECT_EQ(t.clock.m_nOtherUsedTime, 0) << c.name;
        EXPECT_TRUE(t.clock.IsRunning()) << c.name;
    }

    // Two moves to replay: the last one sets the counter.
    ClockTable r;
    r.clock.OnGameState(0, 12, 2);
    EXPECT_FALSE(r.clock.IsRunning());
    r.clock.OnMoveClock(Colour::White, 1, 10);
    EXPECT_EQ(r.context.TimeControl().m_nStepCounter, 0);
    r.clock.OnMoveClock(Colour::Black, 1, 10);
    EXPECT_EQ(r.context.TimeControl().m_nStepCounter, 12);
    EXPECT_EQ(r.clock.m_nOwnUsedTime, 0);
}

// A watcher who comes in while Black thinks shows both clocks as White's client does, during
// that move and after it: the seconds the move had run when the watcher came are counted once.
TEST(Clock, AWatcherWhoComesInAgreesWithThePlayers) {
    ClockTable player;
    player.context.PlayerManager().SetCurrentTurnSeat(0);
    player.clock.StartClock();
    player.loop.Advance(40000);
    player.context.PlayerManager().SetCurrentTurnSeat(1);
    player.clock.OnMoveClock(Colour::White, 1, 40);
    player.loop.Advance(15000);

    ClockTable watcher(false, true);
    watcher.context.PlayerManager().SetCurrentTurnSeat(1);
    watcher.clock.OnGameState(0, 15, 1);
    watcher.clock.OnMoveClock(Colour::White, 1, 40);
    auto agree = [&](const char* when) {
        for (const bool own : {true, false}) {
            EXPECT_EQ(watcher.clock.RemainingTotal(own), player.clock.RemainingTotal(own))
                << when << (own ? " White" : " Black");
            EXPECT_EQ(watcher.clock.RemainingMove(own), player.clock.RemainingMove(own))
                << when << (own ? " White" : " Black");
        }
    };
    agree("on coming in");
    player.loop.Advance(20000);
    watcher.loop.Advance(20000);
    agree("during Black's move");
    // Black's client sends the move with its step counter: 35 s.
    for (ClockTable* t : {&player, &watcher}) {
        t->context.PlayerManager().SetCurrentTurnSeat(0);
        t->clock.OnMoveClock(Colour::Black, 1, 35);
    }
    agree("after Black's move");
    EXPECT_EQ(watcher.clock.RemainingTotal(false), 1800 - 25);
}

// A client back after a lost connection is told the whole game again: it must end where a
// fresh client does, not charge the moves it had already counted a second time.
TEST(Clock, AJoinRebuildsTheClocksFromTheReplayAlone) {
    auto join = [](ClockTable& t) {
        t.clock.OnGameState(0, 5, 2);
        t.clock.OnMoveClock(Colour::White, 1, 40); // White, 30 s after the added time
        t.clock.OnMoveClock(Colour::Black, 1, 50); // Black, 40 s; White's move has run 5 s since
    };
    ClockTable fresh;
    join(fresh);
    ClockTable back;
    back.clock.StartClock();
    back.clock.OnMoveClock(Colour::White, 1, 40);
    back.clock.OnMoveClock(Colour::Black, 1, 50);
    join(back);
    for (ClockTable* t : {&fresh, &back}) {
        const char* name = t == &fresh ? "fresh" : "back";
        EXPECT_EQ(t->clock.m_nOwnUsedTime, 30) << name;
        EXPECT_EQ(t->clock.m_nOtherUsedTime, 40) << name;
        EXPECT_EQ(t->clock.MovesMade(true), 1) << name;
        EXPECT_EQ(t->clock.MovesMade(false), 1) << name;
        EXPECT_EQ(t->context.TimeControl().m_nStepCounter, 5) << name;
        EXPECT_TRUE(t->clock.IsRunning()) << name;
    }
}

// The next game after a joined one starts from nothing, whether its new-game message came
// first or only the start of play: no used time, no moves, and no move of the new game taken
// for the last move of the old replay.
TEST(Clock, TheNextGameStartsFromNothing) {
    for (const bool newGameFirst : {true, false}) {
        ClockTable t;
        t.clock.OnGameState(0, 12, 2);
        t.clock.OnMoveClock(Colour::White, 1, 25);
        t.clock.OnMoveClock(Colour::Black, 1, 30);
        t.clock.OnMoveClock(Colour::White, 2, 40);
        if (newGameFirst) {
            t.clock.OnNewGame();
            EXPECT_EQ(t.clock.m_nOwnUsedTime, 0);
            EXPECT_EQ(t.clock.MovesMade(true), 0);
        }
        t.clock.StartClock();
        EXPECT_EQ(t.clock.m_nOwnUsedTime, 0) << newGameFirst;
        EXPECT_EQ(t.clock.m_nOtherUsedTime, 0) << newGameFirst;
        EXPECT_EQ(t.clock.MovesMade(true), 0) << newGameFirst;
        EXPECT_EQ(t.clock.MovesMade(false), 0) << newGameFirst;
        EXPECT_EQ(t.clock.m_nReplayCount, 0u) << newGameFirst;
        EXPECT_EQ(t.clock.RemainingTotal(true), 1800) << newGameFirst;
        EXPECT_EQ(t.clock.FormatMoves(t.clock.MovesMade(false)), "0步");

        t.clock.OnMoveClock(Colour::White, 1, 13);
        t.context.TimeControl().m_nStepCounter = 9;
        t.clock.OnMoveClock(Colour::Black, 1, 14); // the second move, as many as the old replay had
        EXPECT_EQ(t.context.TimeControl().m_nStepCounter, 0) << newGameFirst;
        EXPECT_EQ(t.clock.m_nOwnUsedTime, 3) << newGameFirst;
        EXPECT_EQ(t.clock.m_nOtherUsedTime, 4) << newGameFirst;
    }
}

TEST(Clock, DisplayValues) {
    ClockTable t;
    t.context.PlayerManager().SetCurrentTurnSeat(0);
    t.clock.m_nOwnUsedTime = 1770;
    t.context.TimeControl().m_nStepCounter = 20;
    EXPECT_EQ(t.clock.RemainingTotal(true), 10);
    EXPECT_EQ(t.clock.RemainingMove(true), 10); // min(60, 30) - 20
    EXPECT_EQ(t.clock.RemainingTotal(false), 1800);
    EXPECT_EQ(t.clock.RemainingMove(false), 60);
    t.context.TimeControl().m_nStepCounter = 45;
    EXPECT_EQ(t.clock.RemainingTotal(true), 0);
    EXPECT_EQ(t.clock.RemainingMove(true), 0);
    // With the turn at no player's seat neither side's time runs.
    t.context.PlayerManager().SetCurrentTurnSeat(CPlayerManager::NONE);
    EXPECT_EQ(t.clock.RemainingTotal(false), 1800);
    EXPECT_EQ(t.clock.RemainingMove(false), 60);
    EXPECT_EQ(CMainViewClock::FormatTime(1800), "30分00秒");
    EXPECT_EQ(CMainViewClock::FormatTime(65), "01分05秒");
    EXPECT_EQ(CMainViewClock::FormatMoves(12), "12步");
}

} // namespace
} // namespace kelo
