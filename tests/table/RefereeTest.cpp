// SPDX-License-Identifier: GPL-3.0-or-later
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

// The rules' verdicts are the chess tests' business; here only who reports them, and how. A mate
// is reported by both clients, each as its own seat; a stalemate and a perpetual check by the
// client of the side that made the last move alone; no verdict by nobody.
TEST(TableReferee, WhoReportsTheResult) {
    // White's queen and rook give check on every move while Black's king keeps a way out.
    constexpr const char* checks = "7k/8/8/8/8/8/8/QR4K1 w - - 0 1";
    struct Case {
        const char* name;
        const char* fen; // empty: the start position
        const char* line;
        uint32_t own;
        bool reports;
        uint16_t decisive = 0, winner = 0, reason = 0;
    } cases[] = {
        {"MateWhite", "", "f2f3 e7e5 g2g4 d8h4", WHITE_ID, true, 1, 1, RESULT_REASON_CHECKMATE},
        {"MateBlack", "", "f2f3 e7e5 g2g4 d8h4", BLACK_ID, true, 1, 1, RESULT_REASON_CHECKMATE},
        {"StalemateByWhite", "7k/8/5Q2/6K1/8/8/8/8 w - - 0 1", "f6f7", WHITE_ID, true, 0, 0,
         RESULT_REASON_STALEMATE},
        {"StalematedBlack", "7k/8/5Q2/6K1/8/8/8/8 w - - 0 1", "f6f7", BLACK_ID, false},
        {"FiveChecksByWhite", checks, "a1a8 h8h7 a8a7 h7h8 a7a8 h8h7 a8a7 h7h8 a7a8", WHITE_ID,
         true, 0, 0, RESULT_REASON_PERPETUAL_CHECK},
        {"FiveChecksAgainstBlack", checks, "a1a8 h8h7 a8a7 h7h8 a7a8 h8h7 a8a7 h7h8 a7a8", BLACK_ID,
         false},
        {"FourChecks", checks, "a1a8 h8h7 a8a7 h7h8 a7a8 h8h7 a8a7", WHITE_ID, false},
    };
    for (const Case& c : cases) {
        ChessTable table(c.own);
        if (*c.fen == '\0')
            table.StartPosition();
        else
            table.Load(c.fen);
        ASSERT_TRUE(table.PlayLine(c.line)) << c.name;
        const auto results = Results(table);
        if (!c.reports) {
            EXPECT_TRUE(results.empty()) << c.name;
            continue;
        }
        ASSERT_EQ(results.size(), 1u) << c.name;
        EXPECT_EQ(results[0].senderSeat, c.own == WHITE_ID ? 0 : 1) << c.name;
        EXPECT_EQ(results[0].decisive, c.decisive) << c.name;
        EXPECT_EQ(results[0].winnerSeat, c.winner) << c.name;
        EXPECT_EQ(results[0].reason, c.reason) << c.name;
    }
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
