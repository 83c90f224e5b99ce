// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CBasePoint.h"
#include "chess/CFenReader.h"
#include "chess/ChessTypes.h"
#include "support/ChessBoard.h"

#include <gtest/gtest.h>

namespace kelo {
namespace {

using test::ChessBoard;

const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

TEST(SquareCode, EncodesAndDecodes) {
    EXPECT_EQ(CBasePoint(4, 6).Code(), 406);
    EXPECT_EQ(CBasePoint(4, 6, 1).Code(), 10406);
    const CBasePoint p = CBasePoint::FromCode(406);
    EXPECT_EQ(p.x, 4);
    EXPECT_EQ(p.y, 6);
    EXPECT_EQ(p.z, 0);
    EXPECT_EQ(CBasePoint(1, 2, 0), CBasePoint(1, 2, 3)); // the layer is not compared
}

TEST(SetUp, PlacesBothSidesWithQueensOnTheDFile) {
    ChessBoard table;
    table.StartPosition();
    const CBaseDiagram& p = table.position;
    EXPECT_EQ(p.Pieces().size(), 32u);
    EXPECT_EQ(p.Find(Colour::White, PieceKind::King), 407);
    EXPECT_EQ(p.Find(Colour::White, PieceKind::Queen), 307);
    EXPECT_EQ(p.Find(Colour::Black, PieceKind::King), 400);
    EXPECT_EQ(p.Find(Colour::Black, PieceKind::Queen), 300);
    EXPECT_EQ(p.Find(Colour::Black, KindFromWire(2)), NO_SQUARE);
    // Pieces are made rook first, back row before pawns.
    EXPECT_EQ(p.Pieces()[0]->m_kind, PieceKind::Rook);
    EXPECT_EQ(p.Pieces()[8]->m_kind, PieceKind::Pawn);
    EXPECT_EQ(p.MoveNumber(), 1);
}

// Applies each move, then takes all of them back; the board must be as it was.
std::string Snapshot(const CBaseDiagram& p) {
    std::string text;
    p.BoardMap().ForEach([&](int32_t code, const CBasePiece* piece) {
        text += std::to_string(code) + KindLetter(piece->m_kind) +
                std::to_string(WireValue(piece->m_colour)) + std::to_string(piece->m_bUnmoved) +
                " ";
        return false;
    });
    return text;
}

TEST(ApplyAndUndo, CastlingMovesTheRookAndUndoRestoresFlags) {
    ChessBoard table;
    table.Load("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    const std::string before = Snapshot(table.position);
    MoveRecord castle;
    ASSERT_TRUE(table.Check(Colour::White, "e1g1", &castle));
    EXPECT_EQ(castle.special, SPECIAL_CASTLE_KING);
    ASSERT_TRUE(table.position.Apply(castle));
    EXPECT_EQ(table.position.PieceAt(507)->m_kind, PieceKind::Rook);
    EXPECT_EQ(table.position.PieceAt(707), nullptr);
    EXPECT_FALSE(table.position.PieceAt(607)->m_bUnmoved);
    EXPECT_FALSE(table.position.PieceAt(507)->m_bUnmoved);
    ASSERT_TRUE(table.position.UndoLast());
    EXPECT_EQ(Snapshot(table.position), before);

    ASSERT_TRUE(table.Check(Colour::Black, "e8c8", &castle));
    EXPECT_EQ(castle.special, SPECIAL_CASTLE_QUEEN);
    ASSERT_TRUE(table.position.Apply(castle));
    EXPECT_EQ(table.position.PieceAt(300)->m_kind, PieceKind::Rook);
    ASSERT_TRUE(table.position.UndoLast());
    EXPECT_EQ(Snapshot(table.position), before);
}

TEST(ApplyAndUndo, EnPassantTakesThePawnBesideAndUndoPutsItBack) {
    ChessBoard table;
    table.StartPosition();
    ASSERT_TRUE(table.PlayLine("e2e4 a7a6 e4e5 d7d5"));
    const std::string before = Snapshot(table.position);
    MoveRecord ep;
    ASSERT_TRUE(table.Check(Colour::White, "e5d6", &ep));
    EXPECT_EQ(ep.special, SPECIAL_EN_PASSANT);
    EXPECT_EQ(ep.flags & FLAG_CAPTURE, 0);
    ASSERT_TRUE(table.position.Apply(ep));
    EXPECT_EQ(table.position.PieceAt(303), nullptr);
    EXPECT_EQ(table.position.Captured().size(), 1u);
    ASSERT_TRUE(table.position.UndoLast());
    EXPECT_EQ(table.position.PieceAt(303)->m_kind, PieceKind::Pawn);
    EXPECT_EQ(Snapshot(table.position), before);
}

TEST(ApplyAndUndo, PromotionToKnightAndBack) {
    ChessBoard table;
    table.Load("4k3/P7/8/8/8/8/8/1N2K1N1 w - - 0 1");
    const std::string before = Snapshot(table.position);
    table.promotionAnswers = {PieceKind::Knight};
    MoveRecord promote;
    ASSERT_TRUE(table.Check(Colour::White, "a7a8", &promote));
    EXPECT_EQ(promote.special, SPECIAL_PROMOTE_KNIGHT);
    ASSERT_TRUE(table.position.Apply(promote));
    EXPECT_EQ(table.position.PieceAt(0)->m_kind, PieceKind::Knight);
    EXPECT_EQ(table.position.PieceAt(107)->m_kind, PieceKind::Knight); // the others stay
    EXPECT_EQ(table.position.PieceAt(607)->m_kind, PieceKind::Knight);
    EXPECT_EQ(table.position.Promoted().size(), 1u);
    ASSERT_TRUE(table.position.UndoLast());
    EXPECT_EQ(table.position.PieceAt(0), nullptr);
    EXPECT_EQ(table.position.PieceAt(1)->m_kind, PieceKind::Pawn);
    EXPECT_TRUE(table.position.Promoted().empty());
    EXPECT_EQ(Snapshot(table.position), before);
}

TEST(ApplyAndUndo, PromotedRookLeavesCastlingRightsAlone) {
    ChessBoard table;
    // White's a1 rook and king have not moved; a pawn promotes to a rook that then moves.
    table.Load("7k/1P6/8/8/8/8/8/R3K3 w Q - 0 1");
    ASSERT_TRUE(table.Play(Colour::White, "b7b8r"));
    ASSERT_TRUE(table.Play(Colour::Black, "h8h7"));
    ASSERT_TRUE(table.Play(Colour::White, "b8b2"));
    ASSERT_TRUE(table.Play(Colour::Black, "h7h8"));
    EXPECT_TRUE(table.Check(Colour::White, "e1c1"));
}

TEST(ApplyAndUndo, RefusesRecordsThatDoNotFitThePosition) {
    ChessBoard table;
    table.StartPosition();
    const std::string before = Snapshot(table.position);
    const MoveRecord bad[] = {
        {CBasePoint::FromCode(404), CBasePoint::FromCode(403), Colour::White, PieceKind::Pawn, 0, 0,
         0, 0}, // nothing on e4
        {CBasePoint::FromCode(406), CBasePoint::FromCode(404), Colour::White, PieceKind::Pawn, 0,
         FLAG_CAPTURE, 0, 0}, // capture of an empty square
        {CBasePoint::FromCode(406), CBasePoint::FromCode(407), Colour::White, PieceKind::Pawn, 0, 0,
         0, 0}, // quiet move onto a piece
        {CBasePoint::FromCode(406), CBasePoint::FromCode(900), Colour::White, PieceKind::Pawn, 0, 0,
         0, 0}, // off the board
        {CBasePoint::FromCode(407), CBasePoint::FromCode(607), Colour::White, PieceKind::King,
         SPECIAL_CASTLE_KING, 0, 0, 0}, // the king's path is full
        {CBasePoint::FromCode(406), CBasePoint::FromCode(405), Colour::White, PieceKind::Pawn, 9, 0,
         0, 0}, // unknown special
    };
    for (const MoveRecord& m : bad) {
        EXPECT_FALSE(table.position.Apply(m)) << m.from.Code() << "-" << m.to.Code();
        EXPECT_EQ(Snapshot(table.position), before);
    }
    EXPECT_FALSE(table.position.UndoLast()); // nothing to take back
    EXPECT_EQ(table.position.MoveCount(), 0u);
}

TEST(ApplyAndUndo, UndoPairTakesBackBothMovesAndLowersTheMoveNumber) {
    ChessBoard table;
    table.StartPosition();
    ASSERT_TRUE(table.PlayLine("e2e4 e7e5"));
    table.position.SetMoveNumber(2);
    EXPECT_TRUE(table.position.UndoPair());
    EXPECT_EQ(table.position.MoveCount(), 0u);
    EXPECT_EQ(table.position.MoveNumber(), 1);
    EXPECT_EQ(Snapshot(table.position), [] {
        ChessBoard fresh;
        fresh.StartPosition();
        return Snapshot(fresh.position);
    }());
}

TEST(MoveText, ReadsAsTheMoveList) {
    struct Case {
        MoveRecord move;
        const char* text;
    } cases[] = {
        {{CBasePoint::FromCode(406), CBasePoint::FromCode(404), Colour::White, PieceKind::Pawn, 0,
          FLAG_FIRST_MOVE, 1, 0},
         "白方 : Pe2--e4"},
        {{CBasePoint::FromCode(603), CBasePoint::FromCode(505), Colour::Black, PieceKind::Knight, 0,
          FLAG_CAPTURE | FLAG_CHECK, 1, 0},
         "黑方 : Ng5×f3＋"},
        {{CBasePoint::FromCode(401), CBasePoint::FromCode(400), Colour::White, PieceKind::Pawn,
          SPECIAL_PROMOTE_QUEEN, FLAG_CHECK, 1, 0},
         "白方 : Pe7--e8Q＋"},
        {{CBasePoint::FromCode(403), CBasePoint::FromCode(302), Colour::White, PieceKind::Pawn,
          SPECIAL_EN_PASSANT, 0, 1, 0},
         "白方 : Pe5×d6 e.p"},
        {{CBasePoint::FromCode(407), CBasePoint::FromCode(607), Colour::White, PieceKind::King,
          SPECIAL_CASTLE_KING, FLAG_FIRST_MOVE, 1, 0},
         "白方 : 0--0"},
        {{CBasePoint::FromCode(400), CBasePoint::FromCode(200), Colour::Black, PieceKind::King,
          SPECIAL_CASTLE_QUEEN, FLAG_CHECK, 1, 0},
         "黑方 : 0--0--0＋"},
        {{CBasePoint::FromCode(0), CBasePoint::FromCode(1), Colour::Black, KindFromWire(2), 0, 0, 1,
          0},
         "黑方 : Xa8--a7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CBaseDiagram::MoveText(c.move), c.text);
}

TEST(Fen, BadTextsAreRefusedWithAReason) {
    struct Case {
        const char* fen;
        const char* error;
    } cases[] = {
        {"", "4 to 6 fields"},
        {"8/8/8/8/8/8/8/8 w - -", "one king"},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1", "8 ranks"},
        {"rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "bad character"},
        {"rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "more than 8 files"},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1", "side to move"},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN1 w KQkq - 0 1", "castling right 'K'"},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e3 0 1", "rank 6"},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq e3 0 1", "double step"},
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - x 1", "not a number"},
        {"Pnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1", "pawn on the first or last"},
    };
    for (const Case& c : cases) {
        CChessSet context;
        const CFenReader::Result r = CFenReader::Load(c.fen, context.Position());
        EXPECT_FALSE(r.ok) << c.fen;
        EXPECT_NE(r.error.find(c.error), std::string::npos) << c.fen << " -> " << r.error;
        EXPECT_EQ(context.Position().BoardMap().Count(), 0);
    }
    CChessSet context;
    EXPECT_TRUE(CFenReader::Load(kStart, context.Position()).ok);
}

} // namespace
} // namespace kelo
