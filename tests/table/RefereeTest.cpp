#include "chess/ChessTypes.h"
#include "link/MSG_GAME_RESULT.h"
#include "support/ChessTable.h"
#include "table/CPlayerManager.h"

#include <gtest/gtest.h>

namespace kelo {
namespace {

using test::ChessTable;

constexpr uint32_t WHITE_ID = 100, BLACK_ID = 200;

std::vector<MSG_GAME_RESULT_BODY> Results(const ChessTable& table) {
    std::vector<MSG_GAME_RESULT_BODY> results;
    for (const auto& sent : table.sender.sent) {
        EXPECT_EQ(sent.type, MSG_GAME_RESULT);
        EXPECT_EQ(sent.body.size(), MSG_GAME_RESULT_BODY::SIZE);
        results.push_back(MSG_GAME_RESULT_BODY::FromWire(sent.body.data()));
    }
    return results;
}

void ExpectResult(const MSG_GAME_RESULT_BODY& r, uint16_t sender, uint16_t decisive,
                  uint16_t winner, uint16_t reason) {
    EXPECT_EQ(r.senderSeat, sender);
    EXPECT_EQ(r.decisive, decisive);
    EXPECT_EQ(r.winnerSeat, winner);
    EXPECT_EQ(r.reason, reason);
}

TEST(TableReferee, FoolsMateIsReportedByBothClients) {
    for (uint32_t own : {WHITE_ID, BLACK_ID}) {
        ChessTable table(own);
        table.StartPosition();
        ASSERT_TRUE(table.PlayLine("f2f3 e7e5 g2g4"));
        EXPECT_TRUE(table.sender.sent.empty());
        ASSERT_TRUE(table.Play(Colour::Black, "d8h4"));
        const auto results = Results(table);
        ASSERT_EQ(results.size(), 1u) << own;
        const uint16_t ownSeat = own == WHITE_ID ? 0 : 1;
        ExpectResult(results[0], ownSeat, 1, 1, RESULT_REASON_CHECKMATE);
        EXPECT_EQ(table.board.m_nCheckRun[SideIndex(Colour::Black)], 1);
    }
}

TEST(TableReferee, StalemateIsReportedByTheStalematingSideOnly) {
    for (uint32_t own : {WHITE_ID, BLACK_ID}) {
        ChessTable table(own);
        table.Load("7k/8/5Q2/6K1/8/8/8/8 w - - 0 1");
        ASSERT_TRUE(table.Play(Colour::White, "f6f7"));
        const auto results = Results(table);
        if (own == WHITE_ID) {
            ASSERT_EQ(results.size(), 1u);
            ExpectResult(results[0], 0, 0, 0, RESULT_REASON_STALEMATE);
        } else {
            EXPECT_TRUE(results.empty());
        }
    }
}

// White's queen and rook give check on every move while Black's king keeps a way out.
constexpr const char* kChecksFen = "7k/8/8/8/8/8/8/QR4K1 w - - 0 1";
constexpr const char* kFiveChecks = "a1a8 h8h7 a8a7 h7h8 a7a8 h8h7 a8a7 h7h8 a7a8";

TEST(TableReferee, FiveChecksInARowArePerpetualCheck) {
    for (uint32_t own : {WHITE_ID, BLACK_ID}) {
        ChessTable table(own);
        table.Load(kChecksFen);
        ASSERT_TRUE(table.PlayLine(kFiveChecks));
        EXPECT_EQ(table.board.m_nCheckRun[SideIndex(Colour::White)], 5);
        const auto results = Results(table);
        if (own == WHITE_ID) {
            ASSERT_EQ(results.size(), 1u);
            ExpectResult(results[0], 0, 0, 0, RESULT_REASON_PERPETUAL_CHECK);
        } else {
            EXPECT_TRUE(results.empty());
        }
    }
}

TEST(TableReferee, FourChecksOrABreakInBetweenAreNot) {
    ChessTable four;
    four.Load(kChecksFen);
    ASSERT_TRUE(four.PlayLine("a1a8 h8h7 a8a7 h7h8 a7a8 h8h7 a8a7"));
    EXPECT_EQ(four.board.m_nCheckRun[SideIndex(Colour::White)], 4);
    EXPECT_TRUE(four.sender.sent.empty());

    // A quiet move restarts the count: four more checks after it are still not enough.
    ChessTable broken;
    broken.Load(kChecksFen);
    ASSERT_TRUE(broken.PlayLine("a1a8 h8h7 a8a7 h7h8 g1g2 h8g8 a7a8 g8h7 a8a7 h7h8 a7a8 h8h7 "
                                "a8a7"));
    EXPECT_EQ(broken.board.m_nCheckRun[SideIndex(Colour::White)], 4);
    EXPECT_TRUE(broken.sender.sent.empty());
}

TEST(TableReferee, ReplayedMovesAreNeverJudged) {
    ChessTable table(WHITE_ID);
    table.StartPosition();
    table.board.m_nReplayCount = 4;
    ASSERT_TRUE(table.PlayLine("f2f3 e7e5 g2g4 d8h4"));
    EXPECT_EQ(table.board.m_nPlyCount, 4);
    EXPECT_TRUE(table.sender.sent.empty());
    EXPECT_EQ(table.board.m_nCheckRun[SideIndex(Colour::Black)], 1); // the counters still run
}

TEST(TableReferee, NoMateMessageWithoutAPlayerOfTheWinningColour) {
    ChessTable table(WHITE_ID);
    table.people.RemovePerson(BLACK_ID);
    table.StartPosition();
    ASSERT_TRUE(table.PlayLine("f2f3 e7e5 g2g4 d8h4"));
    EXPECT_TRUE(table.sender.sent.empty());
}

TEST(TableBoard, SeatsMatchOnlyTheSeatedPlayersOfEverySeat) {
    ChessTable table(WHITE_ID);
    CPlayerManager& people = table.people;
    people.SetSeatCount(2);
    people.AddPerson(test::MakePerson(300, "watcher", 0, 5));
    EXPECT_TRUE(table.table.SeatsMatch({WHITE_ID, BLACK_ID}));
    EXPECT_TRUE(table.table.SeatsMatch({BLACK_ID, WHITE_ID}));
    EXPECT_FALSE(table.table.SeatsMatch({WHITE_ID}));
    EXPECT_FALSE(table.table.SeatsMatch({WHITE_ID, 300}));
    EXPECT_FALSE(table.table.SeatsMatch({WHITE_ID, 999}));
}

} // namespace
} // namespace kelo
