// SPDX-License-Identifier: GPL-3.0-or-later
// The move box: typed moves read with the rules, the questions it answers, and what it sends.
#include "chess/CCoordinateMove.h"
#include "link/MessageTypes.h"
#include "support/ChessTable.h"
#include "support/ManualEventLoop.h"
#include "support/TableStates.h"
#include "table/CBoardCursor.h"
#include "table/CBoardWindowModel.h"
#include "table/CMainViewClock.h"
#include "table/CMoveBox.h"
#include "table/CPlayerPanelModel.h"

#include <gtest/gtest.h>

namespace kelo {
namespace {

using Reading = CMoveBox::Reading;
const char* const START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

TEST(MoveBox, ReadsTypedMoves) {
    struct Case {
        const char* fen;
        const char* text;
        Reading reading;
        // The move read, in coordinates, when it is one.
        const char* move;
    };
    const char* const knights = "4k3/8/8/8/8/8/8/1N3NK1 w - - 0 1";
    const char* const castles = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
    const char* const passant = "rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3";
    const char* const promote = "4k3/1P6/8/8/8/8/8/4K3 w - - 0 1";
    const char* const mate = "rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq - 0 2";
    const Case cases[] = {
        {START, "Nf3", Reading::Move, "g1f3"},     {START, " g1f3 ", Reading::Move, "g1f3"},
        {START, "nf3", Reading::Move, "g1f3"},     {START, "e2-e4", Reading::Move, "e2e4"},
        {START, "e5", Reading::Illegal, ""},       {START, "Ke2", Reading::Illegal, ""},
        {START, "e2e5", Reading::Illegal, ""},     {START, "hello", Reading::NotUnderstood, ""},
        {START, "", Reading::NotUnderstood, ""},   {knights, "Nd2", Reading::Ambiguous, ""},
        {knights, "Nbd2", Reading::Move, "b1d2"},  {knights, "N1d2", Reading::Ambiguous, ""},
        {castles, "O-O", Reading::Move, "e1g1"},   {castles, "O-O-O+", Reading::Move, "e1c1"},
        {castles, "0-0", Reading::Move, "e1g1"},   {castles, "e1g1", Reading::Move, "e1g1"},
        {knights, "O-O", Reading::Illegal, ""},    {passant, "exd6", Reading::Move, "e5d6"},
        {passant, "e5d6", Reading::Move, "e5d6"},  {promote, "b8=Q+", Reading::Move, "b7b8q"},
        {promote, "b8N", Reading::Move, "b7b8n"},  {promote, "b7b8r", Reading::Move, "b7b8r"},
        {promote, "b7b8", Reading::Ambiguous, ""}, {promote, "b8", Reading::Ambiguous, ""},
        {mate, "Qh4#", Reading::Move, "d8h4"},     {mate, "Qh4", Reading::Move, "d8h4"},
        {mate, "Qh4+", Reading::Move, "d8h4"},
    };
    for (const Case& c : cases) {
        test::ChessBoard game;
        const Colour colour = game.Load(c.fen);
        const CMoveBox::MoveReading reading = CMoveBox::ReadMove(game.board, colour, c.text);
        EXPECT_EQ(reading.reading, c.reading) << c.text;
        if (c.reading == Reading::Move) {
            EXPECT_EQ(
                CCoordinateMove::Format(reading.move.from, reading.move.to, reading.move.special),
                c.move)
                << c.text;
        }
    }
}

TEST(MoveBox, SaysWhyInOneLine) {
    test::ChessBoard game;
    const Colour colour = game.Load("4k3/8/8/8/8/8/8/1N3NK1 w - - 0 1");
    const auto explain = [&](const char* text) {
        return CMoveBox::Explain(game.board, colour, text,
                                 CMoveBox::ReadMove(game.board, colour, text));
    };
    EXPECT_EQ(explain("Nd2"), "“Nd2”可以是 Nbd2、Nfd2，请写清楚");
    EXPECT_EQ(explain("Nd4"), "“Nd4”不是白方现在能走的棋");
    EXPECT_NE(explain("xyz").find("看不懂“xyz”"), std::string::npos);
    for (const char* text : {"Nd2", "Nd4", "xyz"})
        EXPECT_EQ(explain(text).find('\n'), std::string::npos) << text;
}

TEST(MoveBox, AnswersQuestionsAboutThePosition) {
    test::ChessBoard game;
    game.StartPosition();
    CBaseBoard& board = game.board;
    EXPECT_EQ(CMoveBox::PiecesOf(board, 'N'), "白方马：b1、g1");
    EXPECT_EQ(CMoveBox::PiecesOf(board, 'k'), "黑方王：e8");
    EXPECT_EQ(CMoveBox::PiecesOn(board, 'a'), "a 列：a1 白方车，a2 白方兵，a7 黑方兵，a8 黑方车");
    EXPECT_EQ(CMoveBox::PiecesOn(board, '4'), "第 4 行：没有棋子");
    EXPECT_EQ(CMoveBox::MovesOf(board, test::Square("g1")), "g1 白方马可走 Nf3、Nh3");
    EXPECT_EQ(CMoveBox::MovesOf(board, test::Square("e4")), "e4 空，没有棋子");
    EXPECT_EQ(CMoveBox::MovesOf(board, test::Square("a1")), "a1 白方车没有能走的棋");
    EXPECT_EQ(CMoveBox::LastMove(board), "还没有走棋");
    ASSERT_TRUE(game.PlayLine("e2e4 e7e5"));
    EXPECT_EQ(CMoveBox::LastMove(board), "上一步 黑方 : Pe7--e5");
    EXPECT_EQ(CMoveBox::PiecesOn(board, '4'), "第 4 行：e4 白方兵");
    EXPECT_EQ(CMoveBox::SquareText(board, test::Square("e5")), "e5 黑方兵");
    EXPECT_EQ(CMoveBox::SquareText(board, test::Square("e2")), "e2 空");
}

// A table at the server, White's client: the box sends only a move this player may make now.
struct TypedTable : test::ChessTable {
    TypedTable() {
        people.SetSeatCount(2);
        StartPosition();
    }
    void Begin(uint16_t turnSeat) {
        test::EnterState(state, GameState::Playing);
        people.SetCurrentTurnSeat(turnSeat);
    }
    size_t MovesSent() const {
        size_t count = 0;
        for (const auto& sent : sender.sent)
            count += sent.type == MSG_MOVE;
        return count;
    }
    test::ScriptedPrompts prompts;
    test::ManualEventLoop loop;
    CMainViewClock clock{Parts(), time, sender, loop};
    CPlayerPanelModel panels{Parts(), clock};
    CBoardWindowModel window{table, Parts(), prompts, nullptr};
    CMoveBox box{window, Parts(), panels};
};

TEST(MoveBox, SendsOnlyALegalMoveOnTheOwnTurn) {
    TypedTable t;
    EXPECT_EQ(t.box.Enter("e4").line, "提示：请双方都按“开始”按钮后方可进行游戏！");
    t.Begin(1);
    EXPECT_EQ(t.box.Enter("e4").line, "现在轮到对方走棋");
    t.Begin(0);
    const CMoveBox::Answer bad = t.box.Enter("e5");
    EXPECT_FALSE(bad.sent);
    EXPECT_EQ(bad.line, "“e5”不是白方现在能走的棋");
    EXPECT_EQ(t.MovesSent(), 0u);
    // Questions never send anything and are answered at any time.
    EXPECT_NE(t.box.Enter("c").line.find("white"), std::string::npos);
    EXPECT_EQ(t.box.Enter("p q").line, "黑方后：d8");
    EXPECT_EQ(t.box.Enter("s 马").line.rfind("s 后面", 0), 0u);
    EXPECT_EQ(t.MovesSent(), 0u);
    EXPECT_TRUE(t.box.Enter("e4").sent);
    EXPECT_EQ(t.MovesSent(), 1u);
    // Until the echo comes, nothing more goes out.
    EXPECT_FALSE(t.box.Enter("d4").sent);
    EXPECT_EQ(t.MovesSent(), 1u);
}

TEST(BoardCursor, PlaysAsAClickWouldAndEscapePutsBack) {
    TypedTable t;
    t.Begin(0);
    t.window.Grid().SetGrid({56, 56}, {52, 52}, {48, 48});
    CBoardCursor cursor(t.window);
    EXPECT_EQ(cursor.Square(), test::Square("e2"));
    cursor.Activate();
    ASSERT_TRUE(t.window.Selected());
    EXPECT_EQ(*t.window.Selected(), test::Square("e2"));
    EXPECT_EQ(t.window.Destinations().size(), 2u);
    EXPECT_TRUE(cursor.PutBack());
    EXPECT_FALSE(t.window.Selected());
    EXPECT_FALSE(cursor.PutBack());
    // Up is towards the opponent; the edge stops the cursor.
    cursor.Activate();
    EXPECT_TRUE(cursor.Move(0, -2));
    EXPECT_EQ(cursor.Square(), test::Square("e4"));
    cursor.Activate();
    EXPECT_EQ(t.MovesSent(), 1u);
    EXPECT_FALSE(t.window.Selected());
    EXPECT_TRUE(cursor.Move(0, -4));
    EXPECT_FALSE(cursor.Move(0, -1));
    EXPECT_EQ(cursor.Square(), test::Square("e8"));
}

TEST(BoardCursor, ArrowsFollowTheBlackPlayersView) {
    test::ChessTable table(200);
    test::ScriptedPrompts prompts;
    table.people.SetSeatCount(2);
    CBoardWindowModel window(table.table, table.Parts(), prompts, nullptr);
    CBoardCursor cursor(window);
    // Black sees the board turned: up goes from rank 7 to rank 6, right from e to d.
    cursor.SetSquare(test::Square("e7"));
    EXPECT_TRUE(cursor.Move(0, -1));
    EXPECT_EQ(cursor.Square(), test::Square("e6"));
    EXPECT_TRUE(cursor.Move(1, 0));
    EXPECT_EQ(cursor.Square(), test::Square("d6"));
}

} // namespace
} // namespace kelo
