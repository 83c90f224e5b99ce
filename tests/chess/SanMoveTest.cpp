// SPDX-License-Identifier: GPL-3.0-or-later
// Standard algebraic notation made and read with the board's own rules.
#include "chess/CCoordinateMove.h"
#include "chess/CSanMove.h"
#include "chess/ChessTypes.h"
#include "support/ChessBoard.h"

#include <gtest/gtest.h>

namespace kelo {
namespace {

// Each row: a position, a move in coordinate form, its notation after playing it.
TEST(SanMove, FormatsAndReadsBack) {
    struct Case {
        const char* fen;
        const char* move;
        const char* san;
    };
    const Case cases[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "g1f3", "Nf3"},
        {"rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3", "e5d6", "exd6"},
        {"r3k3/1P6/8/8/8/8/8/4K3 w - - 0 1", "b7a8n", "bxa8=N"},
        {"1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1", "a7b8q", "axb8=Q+"},
        {"4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", "e1g1", "O-O"},
        {"3k4/8/8/8/8/8/8/R3K2R w KQ - 0 1", "e1c1", "O-O-O+"},
        {"4k3/8/8/8/8/8/8/R4RK1 w - - 0 1", "a1d1", "Rad1"},
        {"4k3/8/8/8/R7/8/8/R5K1 w - - 0 1", "a1a2", "R1a2"},
        {"4k3/8/8/8/Q6Q/8/8/Q5K1 w - - 0 1", "a4d4", "Qa4d4"},
        {"rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq - 0 2", "d8h4", "Qh4#"},
    };
    for (const Case& c : cases) {
        test::ChessBoard game;
        const Colour colour = game.Load(c.fen);
        if (const auto coordinate = CCoordinateMove::Parse(c.move); coordinate->special != 0)
            game.promotionAnswers = {PromotionKind(coordinate->special)};
        MoveRecord move;
        ASSERT_TRUE(game.Check(colour, c.move, &move)) << c.move;
        const auto parsed = CSanMove::Parse(game.board, colour, c.san);
        ASSERT_TRUE(parsed) << c.san;
        EXPECT_EQ(*parsed, move) << c.san;
        EXPECT_EQ(CSanMove::Play(game.board, colour, move), c.san) << c.fen;
    }
}

TEST(SanMove, RefusesWhatNoLegalMoveOrMoreThanOneFits) {
    test::ChessBoard game;
    const Colour colour = game.Load("4k3/8/8/8/8/8/8/R4RK1 w - - 0 1");
    for (const char* text : {"Rd1", "Ke4", "e4", "Zz9", "", "Rxd1", "O-O"})
        EXPECT_FALSE(CSanMove::Parse(game.board, colour, text)) << text;
    // Extra origin parts and a missing "=" still read.
    game.Load("4k3/1P6/8/8/8/8/8/5NK1 w - - 0 1");
    EXPECT_TRUE(CSanMove::Parse(game.board, colour, "Nf1d2"));
    EXPECT_TRUE(CSanMove::Parse(game.board, colour, "b8Q"));
}

} // namespace
} // namespace kelo
