// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CTableState.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace kelo {
namespace {

struct RecordingObserver : ITableStateObserver {
    void OnTableStateChanged(TableStateChange change) override { changes.push_back(change); }
    std::vector<TableStateChange> changes;
};

using Change = TableStateChange;

// Observers hear each change once, and nothing when a transition leaves the state as it was.
TEST(TableState, TransitionsTellWhatChangedAndOnlyThat) {
    CTableState state;
    RecordingObserver seen;
    state.AddObserver(&seen);
    auto take = [&] { return std::exchange(seen.changes, {}); };

    state.NewGame();
    EXPECT_TRUE(take().empty()) << "a fresh table already has no game and no take-backs";
    state.BeginPlaying();
    state.BeginPlaying();
    EXPECT_EQ(take(), std::vector<Change>{Change::Game});

    state.JoinPlaying(5);
    EXPECT_EQ(take(), (std::vector<Change>{Change::Lock, Change::TakeBacks}));
    EXPECT_TRUE(state.IsLocked());
    EXPECT_EQ(state.MaxTakeBacks(), 5);

    state.CountOwnTakeBack();
    state.NoteSeatTakeBacks(1, 2);
    state.NoteSeatTakeBacks(7, 9);
    EXPECT_EQ(take(), (std::vector<Change>{Change::TakeBacks, Change::TakeBacks}));
    EXPECT_EQ(state.TakeBackCount(), 1);
    EXPECT_EQ(state.SeatTakeBackCount(1), 2);
    EXPECT_EQ(state.SeatTakeBackCount(7), 0) << "no such seat";

    state.MarkOpponentBroken();
    state.MarkOpponentBroken();
    state.MarkOpponentBack();
    EXPECT_EQ(take(), (std::vector<Change>{Change::Connection, Change::Connection}));

    state.End(GameEnd::Draw);
    EXPECT_EQ(state.State(), GameState::Ended);
    EXPECT_EQ(state.LastEnd(), GameEnd::Draw);
    state.NewGame();
    EXPECT_EQ(take(), (std::vector<Change>{Change::Game, Change::TakeBacks, Change::Game}));
    EXPECT_EQ(state.TakeBackCount(), 0);
    EXPECT_EQ(state.SeatTakeBackCount(1), 0);

    state.RemoveObserver(&seen);
    state.Close();
    EXPECT_TRUE(take().empty());
}

// A resumed game takes the record's take-backs and opens the board at once.
TEST(TableState, ResumeTakesTheRecordsTakeBacksAndUnlocks) {
    CTableState state;
    state.Lock();
    state.ResumePlaying(2, {2, 1});
    EXPECT_TRUE(state.IsPlaying());
    EXPECT_FALSE(state.IsLocked());
    EXPECT_EQ(state.TakeBackCount(), 2);
    EXPECT_EQ(state.SeatTakeBackCount(0), 2);
    EXPECT_EQ(state.SeatTakeBackCount(1), 1);
}

} // namespace
} // namespace kelo
