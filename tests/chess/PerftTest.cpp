// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CChessDiagram.h"
#include "chess/CChessSet.h"
#include "chess/CChnChessBoard.h"
#include "chess/CFenReader.h"
#include "chess/CPerft.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kelo {
namespace {

struct PerftCase {
    const char* name;
    const char* fen;
    std::vector<uint64_t> counts; // depth 1, 2, ...
};

const PerftCase kCases[] = {
    {"Start",
     "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
     {20, 400, 8902, 197281, 4865609}},
    {"Kiwipete",
     "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
     {48, 2039, 97862, 4085603}},
    {"RookEndgame", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", {14, 191, 2812, 43238, 674624}},
    {"Promotions",
     "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
     {6, 264, 9467, 422333}},
    {"DiscoveredChecks",
     "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
     {44, 1486, 62379, 2103487}},
};

std::string BoardText(CChessSet& context) {
    std::string text;
    context.Position().BoardMap().ForEach([&](int32_t code, const CBasePiece* piece) {
        text += std::to_string(code) + ":" + std::to_string(WireValue(piece->m_kind)) + "/" +
                std::to_string(WireValue(piece->m_colour)) + "/" +
                std::to_string(piece->m_bUnmoved) + " ";
        return false;
    });
    return text;
}

class PerftTest : public ::testing::TestWithParam<PerftCase> {};

TEST_P(PerftTest, MatchesPublishedCounts) {
    const PerftCase& c = GetParam();
    CChessSet context;
    const CFenReader::Result loaded = CFenReader::Load(c.fen, context.Position());
    ASSERT_TRUE(loaded.ok) << loaded.error;
    const size_t movesBefore = context.Position().MoveCount();
    const std::string boardBefore = BoardText(context);
    CPerft perft(context.Board());
    for (size_t depth = 1; depth <= c.counts.size(); ++depth) {
        EXPECT_EQ(perft.Count(loaded.sideToMove, static_cast<int>(depth)), c.counts[depth - 1])
            << c.name << " depth " << depth;
    }
    // The search leaves the position as it found it.
    EXPECT_EQ(context.Position().MoveCount(), movesBefore);
    EXPECT_EQ(BoardText(context), boardBefore);
}

INSTANTIATE_TEST_SUITE_P(Positions, PerftTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PerftDivide, ListsFirstMovesInCoordinateForm) {
    CChessSet context;
    const auto loaded = CFenReader::Load(kCases[3].fen, context.Position());
    ASSERT_TRUE(loaded.ok);
    CPerft perft(context.Board());
    const auto divide = perft.Divide(loaded.sideToMove, 2);
    uint64_t total = 0;
    std::vector<std::string> moves;
    for (const auto& [move, count] : divide) {
        moves.push_back(move);
        total += count;
    }
    EXPECT_EQ(total, 264u);
    std::sort(moves.begin(), moves.end());
    EXPECT_EQ(moves, (std::vector<std::string>{"b4c5", "c4c5", "d2d4", "f1f2", "f3d4", "g1h1"}));
}

} // namespace
} // namespace kelo
