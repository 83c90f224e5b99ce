// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/ChessTypes.h"
#include "support/ChessBoard.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kelo {
namespace {

using test::ChessBoard;

struct RuleCase {
    const char* name;
    const char* fen;
    const char* setup; // moves played first, side to move of the FEN first
    const char* move;  // judged for the side to move after the setup
    bool built;        // the piece's own rule
    bool legal;        // check-move
};

const RuleCase kRuleCases[] = {
    {"RookToItsOwnSquare", "4k3/8/8/8/8/8/8/R3K3 w - - 0 1", "", "a1a1", true, false},
    {"CastleKingSide", "4k3/8/8/8/8/8/8/4K2R w K - 0 1", "", "e1g1", true, true},
    {"CastleThroughAttackedF1", "4kr2/8/8/8/8/8/8/4K2R w K - 0 1", "", "e1g1", false, false},
    {"CastleOutOfCheck", "4r1k1/8/8/8/8/8/8/4K2R w K - 0 1", "", "e1g1", false, false},
    {"CastleAfterKingWentAndCame", "4k3/8/8/8/8/8/8/4K2R w K - 0 1", "e1e2 e8e7 e2e1 e7e8", "e1g1",
     false, false},
    {"CastleWithMovedRook", "4k3/8/8/8/8/8/8/4K2R w K - 0 1", "h1h2 e8e7 h2h1 e7e8", "e1g1", false,
     false},
    {"CastleQueenSideBlockedOnB1", "4k3/8/8/8/8/8/8/RN2K3 w Q - 0 1", "", "e1c1", false, false},
    // A black pawn on g2 attacks f1, which the king passes.
    {"PawnOnG2StopsKingSide", "4k3/8/8/8/8/8/6p1/4K2R w K - 0 1", "", "e1g1", false, false},
    // On h2 it attacks only g1: the passage is free, but the king may not end there.
    {"PawnOnH2RefusedOnArrival", "4k3/8/8/8/8/8/7p/4K2R w K - 0 1", "", "e1g1", true, false},
    // On e2 it gives no check but attacks d1 and f1.
    {"PawnOnE2StopsKingSide", "4k3/8/8/8/8/8/4p3/R3K2R w KQ - 0 1", "", "e1g1", false, false},
    {"PawnOnE2StopsQueenSide", "4k3/8/8/8/8/8/4p3/R3K2R w KQ - 0 1", "", "e1c1", false, false},
    {"EnPassantRightAfterDoubleStep", "4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1", "d7d5", "e5d6", true,
     true},
    {"EnPassantTooLate", "4k3/3p4/8/4P3/8/8/8/K7 b - - 0 1", "d7d5 a1a2 e8e7", "e5d6", false,
     false},
    {"EnPassantAfterSingleSteps", "4k3/3p4/8/4P3/8/8/8/K7 b - - 0 1", "d7d6 a1a2 d6d5", "e5d6",
     false, false},
    {"DoubleStepOverAPiece", "4k3/8/8/8/8/4N3/4P3/4K3 w - - 0 1", "", "e2e4", false, false},
    {"DoubleStepAfterFirstMove", "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", "e2e3 e8d8", "e3e5", false,
     false},
    {"PawnBackwards", "4k3/8/8/8/8/4P3/8/4K3 w - - 0 1", "", "e3e2", false, false},
    {"PawnStraightIntoAPiece", "4k3/8/8/8/4p3/4P3/8/4K3 w - - 0 1", "", "e3e4", false, false},
    {"PinnedKnight", "4r1k1/8/8/8/8/8/4N3/4K3 w - - 0 1", "", "e2c3", true, false},
    {"KingIntoAttack", "4k3/8/8/8/8/8/5r2/4K3 w - - 0 1", "", "e1e2", true, false},
    {"KingTakesDefendedRook", "4k3/8/8/8/8/3b4/4r3/4K3 w - - 0 1", "", "e1e2", true, false},
    {"CaptureOwnPiece", "4k3/8/8/8/8/8/8/R2QK3 w - - 0 1", "", "a1d1", false, false},
    {"RookThroughAPiece", "4k3/8/8/8/8/8/8/R2QK3 w - - 0 1", "", "a1e1", false, false},
    {"BishopOffDiagonal", "4k3/8/8/8/8/8/8/2B1K3 w - - 0 1", "", "c1d3", false, false},
};

class RuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(RuleTest, JudgesTheMove) {
    const RuleCase& c = GetParam();
    ChessBoard table;
    Colour side = table.Load(c.fen);
    std::string setup = c.setup;
    if (!setup.empty()) {
        ASSERT_TRUE(table.PlayLine(setup, side));
        // Each move of the set-up passes the turn.
        if ((std::count(setup.begin(), setup.end(), ' ') + 1) % 2 != 0)
            side = OppositeColour(side);
    }
    EXPECT_EQ(table.Build(side, c.move), c.built) << "build-move";
    EXPECT_EQ(table.Check(side, c.move), c.legal) << "check-move";
}

INSTANTIATE_TEST_SUITE_P(Cases, RuleTest, ::testing::ValuesIn(kRuleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckMove, MarksAMoveThatGivesCheck) {
    ChessBoard table;
    table.Load("4k3/8/8/8/8/8/8/R3K3 w - - 0 1");
    MoveRecord record;
    ASSERT_TRUE(table.Check(Colour::White, "a1a8", &record));
    EXPECT_EQ(record.flags, FLAG_CHECK); // a rook not on its home corner counts as moved
    ASSERT_TRUE(table.Check(Colour::White, "a1a7", &record));
    EXPECT_EQ(record.flags, 0);
    EXPECT_EQ(record.from, CBasePoint(0, 7));
    EXPECT_EQ(record.to, CBasePoint(0, 1));
    EXPECT_EQ(record.kind, PieceKind::Rook);
}

TEST(CheckMove, RefusesEverythingWithoutBothKings) {
    ChessBoard table;
    table.position.Reset();
    table.position.AddPiece(407, table.position.CreatePiece(Colour::White, PieceKind::King));
    table.position.AddPiece(7, table.position.CreatePiece(Colour::White, PieceKind::Rook));
    EXPECT_TRUE(table.Build(Colour::White, "a1a2"));
    EXPECT_FALSE(table.Check(Colour::White, "a1a2"));
    EXPECT_FALSE(table.board.GivesCheck(Colour::White));
    EXPECT_EQ(table.position.BoardMap().Count(), 2); // the trial move was taken back
}

TEST(Promotion, AsksOnlyForAPawnOnTheLastRow) {
    ChessBoard table;
    table.Load("1n2k3/P7/8/8/8/8/4P3/4K3 w - - 0 1");
    MoveRecord record;
    table.promotionAnswers = {PieceKind::Rook};
    ASSERT_TRUE(table.Check(Colour::White, "a7b8", &record));
    EXPECT_EQ(record.special, SPECIAL_PROMOTE_ROOK);
    EXPECT_EQ(record.flags & FLAG_CAPTURE, FLAG_CAPTURE);
    EXPECT_EQ(table.promotionQuestions, 1);

    ASSERT_TRUE(table.Check(Colour::White, "e2e4", &record));
    EXPECT_EQ(table.promotionQuestions, 1);

    // No answer in time is a queen; an answer that names no promotion piece leaves special 0.
    ASSERT_TRUE(table.Check(Colour::White, "a7a8", &record));
    EXPECT_EQ(record.special, SPECIAL_PROMOTE_QUEEN);
    table.promotionAnswers = {PieceKind::King};
    ASSERT_TRUE(table.Check(Colour::White, "a7a8", &record));
    EXPECT_EQ(record.special, SPECIAL_NONE);
}

// A promotion's check is the new piece's: judged with it on the board, not the pawn.
TEST(Promotion, ChecksWithTheNewPiece) {
    struct Case {
        const char* fen;
        const char* move;
        PieceKind piece;
        bool check;
    };
    const Case cases[] = {
        // The queen that takes on c8 sees e8 along the empty d8; the pawn on b7 saw nothing.
        {"2r1k3/1P6/8/8/8/8/8/4K3 w - - 0 1", "b7c8", PieceKind::Queen, true},
        // A knight on d8 attacks f7, where a queen on d8 would not.
        {"8/3P1k2/8/8/8/8/8/4K3 w - - 0 1", "d7d8", PieceKind::Knight, true},
        {"8/3P1k2/8/8/8/8/8/4K3 w - - 0 1", "d7d8", PieceKind::Queen, false},
        // A rook on b8 checks c8 along the rank; a bishop on b8 leaves d8 alone.
        {"2k5/1P6/8/8/8/8/8/4K3 w - - 0 1", "b7b8", PieceKind::Rook, true},
        {"3k4/1P6/8/8/8/8/8/4K3 w - - 0 1", "b7b8", PieceKind::Bishop, false},
    };
    for (const Case& c : cases) {
        ChessBoard table;
        table.Load(c.fen);
        table.promotionAnswers = {c.piece};
        MoveRecord record;
        ASSERT_TRUE(table.Check(Colour::White, c.move, &record)) << c.fen << " " << c.move;
        EXPECT_EQ((record.flags & FLAG_CHECK) != 0, c.check) << c.fen << " " << c.move;
    }
}

TEST(HasLegalMove, FindsTheOnlyMoveAndNoneWhenMatedOrStalemated) {
    struct Case {
        const char* fen;
        Colour colour;
        bool expected;
    } cases[] = {
        {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", Colour::Black, false},    // stalemate
        {"6Qk/8/6K1/8/8/8/8/8 b - - 0 1", Colour::Black, true},      // king takes the queen
        {"6Qk/8/5K2/8/8/8/8/8 b - - 0 1", Colour::Black, true},      // queen undefended
        {"7k/6Q1/6K1/8/8/8/8/8 b - - 0 1", Colour::Black, false},    // defended queen: mate
        {"7k/7Q/6K1/8/8/8/8/8 b - - 0 1", Colour::Black, false},     // defended queen: mate
        {"k7/8/1Q6/8/8/8/8/7K b - - 0 1", Colour::Black, false},     // stalemate in the corner
        {"k7/8/1Q6/8/8/8/p7/N6K b - - 0 1", Colour::Black, false},   // blocked pawn
        {"k7/8/1Q6/8/8/8/1p6/7K b - - 0 1", Colour::Black, true},    // the pawn can promote
        {"R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1", Colour::Black, false}, // back-rank mate
    };
    for (const Case& c : cases) {
        ChessBoard table;
        table.Load(c.fen);
        EXPECT_EQ(table.board.HasLegalMove(c.colour), c.expected) << c.fen;
    }
}

TEST(AttackedBy, PawnsAttackDiagonallyForwardOnly) {
    ChessBoard table;
    table.Load("4k3/8/8/8/4p3/8/8/4K3 w - - 0 1");
    EXPECT_TRUE(table.board.AttackedBy(Colour::Black, CBasePoint(3, 5)));  // d3
    EXPECT_TRUE(table.board.AttackedBy(Colour::Black, CBasePoint(5, 5)));  // f3
    EXPECT_FALSE(table.board.AttackedBy(Colour::Black, CBasePoint(4, 5))); // e3, straight ahead
    EXPECT_FALSE(table.board.AttackedBy(Colour::Black, CBasePoint(3, 3))); // d5, behind
    EXPECT_FALSE(table.board.AttackedBy(Colour::White, CBasePoint(4, 7))); // own piece
}

} // namespace
} // namespace kelo
