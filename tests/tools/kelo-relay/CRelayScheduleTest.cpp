// SPDX-License-Identifier: GPL-3.0-or-later
// The relay's schedule on a clock of the test's own: delays and jitter, pieces, stalls, cuts,
// closes, and that every byte comes out once, in order.
#include "CRelaySchedule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kelo {
namespace {

using Kind = RelayAction::Kind;
constexpr RelayDirection kUp = RelayDirection::ToServer;
constexpr RelayDirection kDown = RelayDirection::ToClient;

struct Timed {
    uint64_t nAtMs;
    RelayAction action;
};

// Runs the clock from nFromMs to nToMs a millisecond at a time and collects what falls due.
std::vector<Timed> RunClock(CRelaySchedule& schedule, uint64_t nFromMs, uint64_t nToMs) {
    std::vector<Timed> out;
    for (uint64_t nNow = nFromMs; nNow <= nToMs; ++nNow)
        for (RelayAction& action : schedule.Due(nNow))
            out.push_back({nNow, std::move(action)});
    return out;
}

std::vector<Timed> Writes(const std::vector<Timed>& timed) {
    std::vector<Timed> out;
    std::copy_if(timed.begin(), timed.end(), std::back_inserter(out),
                 [](const Timed& t) { return t.action.kind == Kind::Write; });
    return out;
}

TEST(CRelaySchedule, DelayHoldsEachReadForItsTimeAndNothingComesEarly) {
    RelayPlan plan;
    plan.nDelayMs = 300;
    CRelaySchedule schedule(plan);
    const int nConnection = schedule.Open(1000);
    EXPECT_FALSE(schedule.NextEventMs());
    schedule.Take(nConnection, kUp, 1100, "abc");
    schedule.Take(nConnection, kDown, 1150, "xy");
    EXPECT_EQ(schedule.NextEventMs(), 1400u);
    EXPECT_TRUE(schedule.Due(1399).empty());
    const auto out = RunClock(schedule, 1400, 2000);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].nAtMs, 1400u);
    EXPECT_EQ(out[0].action.bytes, "abc");
    EXPECT_EQ(out[0].action.direction, kUp);
    EXPECT_EQ(out[1].nAtMs, 1450u);
    EXPECT_EQ(out[1].action.bytes, "xy");
    EXPECT_EQ(out[1].action.direction, kDown);
    EXPECT_EQ(out[1].action.nConnection, nConnection);
    EXPECT_FALSE(schedule.NextEventMs());
}

TEST(CRelaySchedule, PiecesAreCutWithinTheirSizesAndAReadIsWholeWithoutThem) {
    struct Case {
        uint32_t nMin, nMax;
    };
    const std::string text = "The quick brown fox jumps over the lazy dog, 0123456789.";
    for (const Case c : {Case{0, 0}, Case{1, 1}, Case{3, 5}, Case{1, 64}, Case{100, 200}}) {
        SCOPED_TRACE(std::to_string(c.nMin) + ".." + std::to_string(c.nMax));
        RelayPlan plan;
        plan.nPieceMin = c.nMin;
        plan.nPieceMax = c.nMax;
        plan.nSeed = 11;
        CRelaySchedule schedule(plan);
        const int nConnection = schedule.Open(0);
        schedule.Take(nConnection, kUp, 0, text);
        const auto out = Writes(RunClock(schedule, 0, 10));
        std::string joined;
        for (size_t n = 0; n < out.size(); ++n) {
            const size_t nSize = out[n].action.bytes.size();
            joined += out[n].action.bytes;
            if (c.nMax == 0 || n + 1 == out.size()) {
                EXPECT_GE(nSize, 1u);
                continue;
            }
            EXPECT_GE(nSize, c.nMin);
            EXPECT_LE(nSize, c.nMax);
        }
        EXPECT_EQ(joined, text);
        if (c.nMax == 0 || c.nMin > text.size()) {
            EXPECT_EQ(out.size(), 1u);
        }
        if (c.nMax == 1) {
            EXPECT_EQ(out.size(), text.size());
        }
    }
}

// Two connections, both directions, many reads: with jitter and pieces the bytes of each
// direction come out exactly once and in order, each piece within the delay and jitter of its
// read, and the same seed draws the same schedule again.
std::vector<Timed> Busy(uint64_t nSeed, std::map<std::pair<int, int>, std::string>& sent) {
    RelayPlan plan;
    plan.nDelayMs = 300;
    plan.nJitterMs = 100;
    plan.nPieceMin = 1;
    plan.nPieceMax = 64;
    plan.nSeed = nSeed;
    CRelaySchedule schedule(plan);
    const int nA = schedule.Open(0);
    const int nB = schedule.Open(5);
    std::vector<Timed> out;
    for (uint64_t nNow = 0; nNow < 3000; ++nNow) {
        if (nNow % 7 == 0 && nNow < 2000) {
            for (const int nConnection : {nA, nB})
                for (const RelayDirection direction : {kUp, kDown}) {
                    std::string chunk;
                    const size_t nSize = 1 + (nNow * 31 + nConnection * 7) % 150;
                    for (size_t n = 0; n < nSize; ++n)
                        chunk += static_cast<char>('a' + (nNow + n + nConnection) % 26);
                    schedule.Take(nConnection, direction, nNow, chunk);
                    sent[{nConnection, static_cast<int>(direction)}] += chunk;
                }
        }
        for (RelayAction& action : schedule.Due(nNow))
            out.push_back({nNow, std::move(action)});
    }
    EXPECT_FALSE(schedule.NextEventMs());
    return out;
}

TEST(CRelaySchedule, JitterAndPiecesKeepOrderAndLoseOrRepeatNothing) {
    std::map<std::pair<int, int>, std::string> sent;
    const auto out = Busy(42, sent);
    std::map<std::pair<int, int>, std::string> received;
    std::map<std::pair<int, int>, uint64_t> last;
    for (const Timed& t : out) {
        ASSERT_EQ(t.action.kind, Kind::Write);
        const std::pair<int, int> key{t.action.nConnection, static_cast<int>(t.action.direction)};
        received[key] += t.action.bytes;
        EXPECT_GE(t.nAtMs, last[key]);
        last[key] = t.nAtMs;
    }
    EXPECT_EQ(received, sent);
    EXPECT_EQ(sent.size(), 4u);
    // Nothing before the shortest delay after the first read, nothing long after the last one.
    EXPECT_GE(out.front().nAtMs, 200u);
    EXPECT_LE(out.back().nAtMs, 1995u + 400u);

    std::map<std::pair<int, int>, std::string> again;
    const auto repeated = Busy(42, again);
    const auto other = Busy(43, again);
    ASSERT_EQ(repeated.size(), out.size());
    bool bSame = true;
    for (size_t n = 0; n < out.size(); ++n)
        bSame = bSame && repeated[n].nAtMs == out[n].nAtMs &&
                repeated[n].action.bytes == out[n].action.bytes;
    EXPECT_TRUE(bSame);
    bool bOtherSame = other.size() == out.size();
    for (size_t n = 0; bOtherSame && n < out.size(); ++n)
        bOtherSame = other[n].nAtMs == out[n].nAtMs && other[n].action.bytes == out[n].action.bytes;
    EXPECT_FALSE(bOtherSame);
}

TEST(CRelaySchedule, JitterSpreadsEachPieceAroundTheDelay) {
    RelayPlan plan;
    plan.nDelayMs = 300;
    plan.nJitterMs = 100;
    plan.nPieceMin = plan.nPieceMax = 1;
    plan.nSeed = 5;
    CRelaySchedule schedule(plan);
    const int nConnection = schedule.Open(0);
    // One byte at a time, each long after the last came out, so the order rule holds none back.
    uint64_t nEarliest = UINT64_MAX, nLatest = 0;
    for (uint64_t nRead = 0; nRead < 200 * 1000; nRead += 1000) {
        schedule.Take(nConnection, kUp, nRead, "x");
        const auto out = RunClock(schedule, nRead, nRead + 999);
        ASSERT_EQ(out.size(), 1u);
        nEarliest = std::min(nEarliest, out[0].nAtMs - nRead);
        nLatest = std::max(nLatest, out[0].nAtMs - nRead);
    }
    EXPECT_GE(nEarliest, 200u);
    EXPECT_LT(nEarliest, 220u);
    EXPECT_LE(nLatest, 400u);
    EXPECT_GT(nLatest, 380u);
}

TEST(CRelaySchedule, AStallHoldsEverythingInOrderUntilItEnds) {
    RelayPlan plan;
    plan.nDelayMs = 100;
    plan.stalls = {{1000, 2000}};
    CRelaySchedule schedule(plan);
    // The stall's second counts from the first connection, not from the clock's zero.
    const int nConnection = schedule.Open(5000);
    schedule.Take(nConnection, kUp, 5850, "before"); // due 5950
    schedule.Take(nConnection, kUp, 5950, "held");   // due 6050: in the stall
    schedule.Take(nConnection, kDown, 7000, "down"); // due 7100: in the stall
    schedule.Take(nConnection, kUp, 7950, "after");  // due 8050, after it
    const auto out = RunClock(schedule, 5000, 9000);
    std::vector<std::pair<uint64_t, std::string>> seen;
    for (const Timed& t : out)
        seen.emplace_back(t.nAtMs, t.action.kind == Kind::Write ? t.action.bytes
                                   : t.action.kind == Kind::StallBegin
                                       ? "<stall>"
                                       : "</stall " + std::to_string(t.action.nBytes) + ">");
    const std::vector<std::pair<uint64_t, std::string>> expected = {
        {5950, "before"}, {6000, "<stall>"}, {8000, "</stall 8>"},
        {8000, "held"},   {8000, "down"},    {8050, "after"}};
    EXPECT_EQ(seen, expected);
}

TEST(CRelaySchedule, ACutClosesTheOpenConnectionsOnceAndTheNextOneGoesThrough) {
    RelayPlan plan;
    plan.nDelayMs = 100;
    plan.cuts = {3000};
    CRelaySchedule schedule(plan);
    const int nFirst = schedule.Open(0);
    const int nSecond = schedule.Open(500);
    schedule.Take(nFirst, kUp, 2850, "sent");      // due 2950, before the cut
    schedule.Take(nFirst, kDown, 2950, "dropped"); // due 3050, after it
    schedule.Take(nSecond, kUp, 2990, "lost");
    const auto out = RunClock(schedule, 0, 3000);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].action.bytes, "sent");
    EXPECT_EQ(out[1].action.kind, Kind::Cut);
    EXPECT_EQ(out[1].action.nConnection, nFirst);
    EXPECT_EQ(out[1].action.nBytes, 7u);
    EXPECT_EQ(out[2].action.kind, Kind::Cut);
    EXPECT_EQ(out[2].action.nConnection, nSecond);
    EXPECT_EQ(out[2].action.nBytes, 4u);
    EXPECT_EQ(out[2].nAtMs, 3000u);
    EXPECT_FALSE(schedule.IsOpen(nFirst));
    // A late read of a cut connection goes nowhere; the client's next connection is relayed.
    schedule.Take(nFirst, kUp, 3001, "late");
    const int nThird = schedule.Open(3500);
    schedule.Take(nThird, kUp, 3500, "again");
    const auto later = RunClock(schedule, 3001, 10000);
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later[0].action.bytes, "again");
    EXPECT_EQ(later[0].action.nConnection, nThird);
}

TEST(CRelaySchedule, ACloseFollowsItsDirectionsBytesAndBothClosesEndTheConnection) {
    RelayPlan plan;
    plan.nDelayMs = 200;
    plan.nPieceMin = plan.nPieceMax = 2;
    CRelaySchedule schedule(plan);
    const int nConnection = schedule.Open(0);
    schedule.Take(nConnection, kUp, 0, "last words");
    schedule.TakeEnd(nConnection, kUp, 0);
    auto out = RunClock(schedule, 0, 1000);
    ASSERT_EQ(out.size(), 6u);
    EXPECT_EQ(out.back().action.kind, Kind::Close);
    EXPECT_EQ(out.back().action.direction, kUp);
    EXPECT_TRUE(schedule.IsOpen(nConnection));
    // The server's side closes in answer; once that is passed on the connection is over.
    schedule.TakeEnd(nConnection, kDown, 1000);
    schedule.TakeEnd(nConnection, kDown, 1001);
    out = RunClock(schedule, 1000, 2000);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].action.kind, Kind::Close);
    EXPECT_EQ(out[0].action.direction, kDown);
    EXPECT_EQ(out[0].nAtMs, 1200u);
    EXPECT_FALSE(schedule.IsOpen(nConnection));
}

} // namespace
} // namespace kelo
