// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/ChessTypes.h"
#include "support/ChessBoard.h"

#include <gtest/gtest.h>

namespace kelo {
namespace {

using test::ChessBoard;

// White's queen and rook give check on every move while Black's king keeps a way out.
constexpr const char* kChecksFen = "7k/8/8/8/8/8/8/QR4K1 w - - 0 1";

TEST(Referee, VerdictAfterTheLastMove) {
    struct Case {
        const char* fen; // empty: the start position
        const char* line;
        int16_t replayed;
        bool check;
        Verdict verdict;
    } cases[] = {
        {"", "f2f3 e7e5 g2g4 d8h4", 0, true, Verdict::Checkmate},
        {"7k/8/5Q2/6K1/8/8/8/8 w - - 0 1", "f6f7", 0, false, Verdict::Stalemate},
        {kChecksFen, "a1a8 h8h7 a8a7 h7h8 a7a8 h8h7 a8a7 h7h8 a7a8", 0, true, Verdict::FiveChecks},
        {kChecksFen, "a1a8 h8h7 a8a7 h7h8 a7a8 h8h7 a8a7", 0, true, Verdict::None},
        // A quiet move restarts the count: four more checks after it are still not enough.
        {kChecksFen, "a1a8 h8h7 a8a7 h7h8 g1g2 h8g8 a7a8 g8h7 a8a7 h7h8 a7a8 h8h7 a8a7", 0, true,
         Verdict::None},
        // Moves replayed at a game start or resume are played but never judged.
        {"", "f2f3 e7e5 g2g4 d8h4", 4, true, Verdict::None},
    };
    for (const Case& c : cases) {
        ChessBoard game;
        if (*c.fen == '\0')
            game.StartPosition();
        else
            game.Load(c.fen);
        game.board.SetReplayCount(c.replayed);
        ASSERT_TRUE(game.PlayLine(c.line)) << c.line;
        EXPECT_TRUE(game.judgement.applied) << c.line;
        EXPECT_EQ(game.judgement.check, c.check) << c.line;
        EXPECT_EQ(game.judgement.verdict, c.verdict) << c.line;
    }
}

TEST(Referee, PlayRefusesAMoveThatDoesNotFitAndCountsNothing) {
    ChessBoard game;
    game.StartPosition();
    const MoveRecord ghost{CBasePoint::FromCode(404),
                           CBasePoint::FromCode(403),
                           Colour::White,
                           PieceKind::Pawn,
                           0,
                           0,
                           0,
                           0};
    EXPECT_FALSE(game.board.Play(ghost).applied);
    const MoveRecord badColour{CBasePoint::FromCode(406),
                               CBasePoint::FromCode(404),
                               ColourFromWire(7),
                               PieceKind::Pawn,
                               0,
                               FLAG_FIRST_MOVE,
                               0,
                               0};
    EXPECT_FALSE(game.board.Play(badColour).applied);
    EXPECT_EQ(game.position.MoveCount(), 0u);
    EXPECT_EQ(game.board.PlyCount(), 0);
    EXPECT_TRUE(game.board.LastMoveSquares().empty());
}

TEST(Referee, ResetGameStateClearsTheCounters) {
    ChessBoard game;
    game.Load(kChecksFen);
    game.board.SetReplayCount(3);
    ASSERT_TRUE(game.PlayLine("a1a8 h8h7"));
    EXPECT_EQ(game.board.CheckRun(Colour::White), 1);
    EXPECT_TRUE(game.board.Replaying());
    game.board.ResetGameState();
    EXPECT_EQ(game.board.CheckRun(Colour::White), 0);
    EXPECT_EQ(game.board.PlyCount(), 0);
    EXPECT_EQ(game.board.ReplayCount(), 0);
    EXPECT_FALSE(game.board.Replaying());
    EXPECT_TRUE(game.board.LastMoveSquares().empty());
}

// A take-back restores what the plies taken back changed: the count, the last move and each
// side's run of checks, so that the checks taken back do not count towards five.
TEST(Referee, TakeBackRestoresTheCounts) {
    ChessBoard game;
    game.Load(kChecksFen);
    ASSERT_TRUE(game.PlayLine("a1a8 h8h7 a8a7 h7h8 a7a8 h8h7 a8a7 h7h8"));
    ASSERT_EQ(game.board.CheckRun(Colour::White), 4);
    ASSERT_TRUE(game.board.TakeBack(2));
    EXPECT_EQ(game.board.PlyCount(), 6);
    EXPECT_EQ(game.board.CheckRun(Colour::White), 3);
    EXPECT_EQ(game.board.LastMoveSquares(),
              (std::vector<CBasePoint>{test::Square("h8"), test::Square("h7")}));
    // Two more checks make five again, not six.
    ASSERT_TRUE(game.PlayLine("a8a7 h7h8"));
    ASSERT_TRUE(game.Play(Colour::White, "a7a8"));
    EXPECT_EQ(game.judgement.verdict, Verdict::FiveChecks);

    // More plies than were played change nothing; back at the start nothing is left to show.
    EXPECT_FALSE(game.board.TakeBack(10));
    EXPECT_EQ(game.board.PlyCount(), 9);
    ASSERT_TRUE(game.board.TakeBack(8));
    EXPECT_EQ(game.board.PlyCount(), 1);
    ASSERT_TRUE(game.board.TakeBack(1));
    EXPECT_EQ(game.board.PlyCount(), 0);
    EXPECT_EQ(game.board.CheckRun(Colour::White), 0);
    EXPECT_TRUE(game.board.LastMoveSquares().empty());
    EXPECT_FALSE(game.board.TakeBack(2));
    EXPECT_FALSE(game.board.TakeBack(0));
    EXPECT_EQ(game.position.MoveCount(), 0u);
}

} // namespace
} // namespace kelo
