// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CGameContext.h"
#include "app/CTableClient.h"
#include "chess/CBasePiece.h"
#include "chess/CChessDiagram.h"
#include "chess/CChnChessBoard.h"
#include "link/CMessageSinkRegistry.h"
#include "link/MSG_DRAW_OFFER.h"
#include "link/MSG_EXCHANGE_ANSWER.h"
#include "link/MSG_EXIT_ANSWER.h"
#include "link/MSG_EXIT_REQUEST.h"
#include "link/MSG_GAME_RESULT.h"
#include "link/MSG_LEAVE_TABLE.h"
#include "link/MSG_MOVE.h"
#include "link/MSG_SCORES.h"
#include "link/MSG_TAKEBACK_ANSWER.h"
#include "link/MSG_TAKEBACK_REQUEST.h"
#include "link/MessageTypes.h"
#include "support/ChessBoard.h"
#include "support/ManualEventLoop.h"
#include "support/QuietResumeDialogs.h"
#include "support/TestSupport.h"
#include "table/CMainViewClock.h"
#include "table/CNegotiation.h"
#include "table/CResultDialogModel.h"
#include "table/GameResult.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <memory>
#include <sstream>

namespace kelo {
namespace {

using Kind = CNegotiationDialog::Kind;
constexpr int32_t AGREE = CNegotiationDialog::ID_AGREE;
constexpr int32_t REFUSE = CNegotiationDialog::ID_REFUSE;
constexpr uint32_t WHITE_ID = 100, BLACK_ID = 200, WATCHER_ID = 300;

// Keeps the dialogs a client was shown and whether it closed its table.
struct RecordingHost : INegotiationHost {
    void OpenDialog(CNegotiationDialog& dialog) override { texts.push_back(dialog.Text()); }
    void CloseTable() override { ++closed; }
    std::vector<std::string> texts;
    int closed = 0;
};

// The server's part: every message sent at the desk goes, in order, to every client of it.
struct Relay : IMessageSender {
    void SendMessage(uint16_t type, const uint8_t* body, size_t length) override {
        queue.push_back({type, std::vector<uint8_t>(body, body + length)});
    }
    std::deque<test::RecordingSender::Sent> queue;
};

// One client of the desk, built as the program builds its table client around its own context,
// on the test's clock. A received message reaches the client's objects through the registry it
// is attached to, in the one order the client keeps.
struct Client {
    Client(uint32_t own, test::ManualEventLoop& loop, Relay& relay)
        : loop(loop), context(&sender), registry(loop),
          client(context, loop, {.resumeDialogs = resumeDialogs, .negotiationHost = &host}),
          people(context.PlayerManager()), state(context.State()), mode(context.Mode()),
          table(client.Board()), board(context.Board()), position(context.Position()),
          clock(client.Clock()), negotiation(client.Negotiation()) {
        context.SetPrompts(&prompts);
        sender.forward = &relay;
        mode.SetLocalMode(false); // at a game server
        people.AddPerson(test::MakePerson(WHITE_ID, "white", 0));
        people.AddPerson(test::MakePerson(BLACK_ID, "black", 1));
        people.SetColour(WHITE_ID, Colour::White);
        people.SetColour(BLACK_ID, Colour::Black);
        people.SetOwnId(own);
        people.SetSeatCount(2);
        if (own == WATCHER_ID) {
            people.AddPerson(test::MakePerson(WATCHER_ID, "watcher", 0, 5));
            mode.SetRole(TableRole::Watcher);
        }
        client.Attach(registry);
    }
    // Hands the message on as the link does and lets the client's objects take it.
    void Deliver(uint16_t type, const std::vector<uint8_t>& body) {
        registry.HandOn(type, body.empty() ? nullptr : body.data(),
                        static_cast<uint32_t>(body.size()));
        loop.RunPending();
    }
    // Builds a move on this client's board; false when refused.
    bool Check(Colour colour, const std::string& move, MoveRecord* out) {
        return test::CheckMove(board, colour, move, out);
    }
    // The sent messages of one type.
    std::vector<std::vector<uint8_t>> SentOf(uint16_t type) const {
        std::vector<std::vector<uint8_t>> bodies;
        for (const auto& s : sender.sent)
            if (s.type == type)
                bodies.push_back(s.body);
        return bodies;
    }
    std::string BoardText() {
        std::string text;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const CBasePiece* piece = board.PieceAt(CBasePoint(x, y));
                text += piece == nullptr ? '.'
                                         : static_cast<char>('a' + WireValue(piece->m_kind) +
                                                             10 * WireValue(piece->m_colour));
            }
        return text;
    }
    CNegotiationDialog* Dialog() { return negotiation.OpenDialog(); }

    test::ManualEventLoop& loop;
    test::ScriptedPrompts prompts;
    test::RecordingSender sender;
    RecordingHost host;
    test::QuietResumeDialogs resumeDialogs;
    CGameContext context;
    CMessageSinkRegistry registry;
    CTableClient client;
    CPlayerManager& people;
    CTableState& state;
    CTableMode& mode;
    CTableBoard& table;
    CChnChessBoard& board;
    CChessDiagram& position;
    CMainViewClock& clock;
    CNegotiation& negotiation;
};

// Two players and a watcher behind White, in a game at the reference server.
struct Desk {
    Desk() {
        for (Client* c : All())
            c->Deliver(MSG_GAME_BEGIN, {0, 0, 0, 0});
    }
    std::vector<Client*> All() { return {&white, &black, &watcher}; }
    void Flush() {
        while (!relay.queue.empty()) {
            const auto message = relay.queue.front();
            relay.queue.pop_front();
            for (Client* c : All())
                c->Deliver(message.type, message.body);
        }
    }
    // Plays the moves as the server relays them, alternating from the side to move.
    void Play(const std::string& line) {
        std::istringstream in(line);
        for (std::string move; in >> move;) {
            const Colour colour = white.people.IsMyTurn() ? Colour::White : Colour::Black;
            MoveRecord record;
            ASSERT_TRUE(white.Check(colour, move, &record)) << move;
            record.moveNumber = white.position.MoveNumber();
            const auto step = MSG_MOVE_BODY::FromRecord(record).ToWire();
            relay.SendMessage(MSG_MOVE, step.data(), step.size());
            Flush();
        }
    }

    test::ManualEventLoop loop;
    Relay relay;
    Client white{WHITE_ID, loop, relay};
    Client black{BLACK_ID, loop, relay};
    Client watcher{WATCHER_ID, loop, relay};
};

const char* const SEVEN_PLIES = "e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 d2d3";

TEST(TakeBack, RefusedTellsOnlyTheRequesterAndSpendsTheCount) {
    Desk d;
    d.Play(SEVEN_PLIES);
    d.black.negotiation.RequestTakeBack();
    ASSERT_NE(d.black.Dialog(), nullptr);
    EXPECT_EQ(d.black.Dialog()->Text(), "确定要悔棋吗？");
    d.black.Dialog()->Press(AGREE);
    ASSERT_EQ(d.black.SentOf(MSG_TAKEBACK_REQUEST).size(), 1u);
    EXPECT_EQ(d.black.SentOf(MSG_TAKEBACK_REQUEST)[0], (std::vector<uint8_t>{0, 1, 0, 1, 0, 1}));
    EXPECT_EQ(d.black.state.TakeBackCount(), 1);
    d.Flush();
    // The requester's own client and the watcher ignore the request.
    EXPECT_EQ(d.black.Dialog(), nullptr);
    EXPECT_TRUE(d.watcher.host.texts.empty());
    ASSERT_NE(d.white.Dialog(), nullptr);
    EXPECT_EQ(d.white.Dialog()->Text(), "对方要悔棋，同意吗？");
    d.white.Dialog()->Press(REFUSE);
    EXPECT_EQ(d.white.SentOf(MSG_TAKEBACK_ANSWER)[0],
              (std::vector<uint8_t>{0, 1, 0, 1, 0, 1, 0, 0}));
    d.Flush();
    EXPECT_EQ(d.black.host.texts.back(), CNegotiation::TAKEBACK_REFUSED);
    EXPECT_EQ(d.white.host.texts, std::vector<std::string>{"对方要悔棋，同意吗？"});
    EXPECT_TRUE(d.watcher.host.texts.empty());
    EXPECT_EQ(d.black.position.MoveCount(), 7u);
    EXPECT_EQ(d.black.state.TakeBackCount(), 1) << "a refused request is spent";
    EXPECT_EQ(d.white.state.SeatTakeBackCount(1), 1) << "kept for the record";
}

TEST(TakeBack, AgreedTakesTwoPliesOnEveryClientAndPlayGoesOn) {
    Desk d;
    d.Play(SEVEN_PLIES);
    std::vector<int16_t> moveNumbers, clockMoves;
    for (Client* c : d.All()) {
        moveNumbers.push_back(c->position.MoveNumber());
        clockMoves.push_back(
            static_cast<int16_t>(c->clock.m_nOwnLastMoveNumber + c->clock.m_nOtherLastMoveNumber));
    }
    d.black.negotiation.RequestTakeBack();
    d.black.Dialog()->Press(AGREE);
    d.Flush();
    d.white.Dialog()->Press(AGREE);
    d.Flush();
    const auto all = d.All();
    for (size_t i = 0; i < all.size(); ++i) {
        Client& c = *all[i];
        EXPECT_EQ(c.position.MoveCount(), 5u) << i;
        EXPECT_EQ(c.board.PlyCount(), 5) << i;
        EXPECT_EQ(c.position.MoveNumber(), moveNumbers[i] - 1) << i;
        EXPECT_EQ(c.clock.m_nOwnLastMoveNumber + c.clock.m_nOtherLastMoveNumber, clockMoves[i] - 2)
            << i;
        EXPECT_EQ(c.BoardText(), d.white.BoardText()) << i;
    }
    EXPECT_EQ(d.white.people.GetCurrentTurnSeat(), 1) << "the requester moves again";
    EXPECT_TRUE(d.black.host.texts.size() == 1) << "no notice on agreement";
    d.Play("f8c5 c2c3");
    for (Client* c : d.All()) {
        EXPECT_EQ(c->position.MoveCount(), 7u);
        EXPECT_EQ(c->BoardText(), d.white.BoardText());
    }
}

TEST(TakeBack, AnswerLeftAloneRefusesAfterThirtySeconds) {
    Desk d;
    d.Play(SEVEN_PLIES);
    d.black.negotiation.RequestTakeBack();
    d.black.Dialog()->Press(AGREE);
    d.Flush();
    CNegotiationDialog* answer = d.white.Dialog();
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer->CountdownLine(), "对方要悔棋，同意吗？[30]");
    d.loop.Advance(1000);
    EXPECT_EQ(answer->CountdownLine(), "对方要悔棋，同意吗？[29]");
    d.loop.Advance(28000);
    EXPECT_TRUE(d.white.SentOf(MSG_TAKEBACK_ANSWER).empty());
    d.loop.Advance(1000);
    ASSERT_EQ(d.white.SentOf(MSG_TAKEBACK_ANSWER).size(), 1u);
    EXPECT_EQ(d.white.SentOf(MSG_TAKEBACK_ANSWER)[0].back(), 0);
    EXPECT_EQ(d.white.Dialog(), nullptr);
    d.Flush();
    EXPECT_EQ(d.black.host.texts.back(), CNegotiation::TAKEBACK_REFUSED);
}

TEST(TakeBack, FifthRequestIsRefusedAndNothingBelowTwoPlies) {
    Desk d;
    d.Play("e2e4");
    d.black.negotiation.RequestTakeBack();
    EXPECT_EQ(d.black.Dialog(), nullptr) << "one ply: nothing at all";
    EXPECT_TRUE(d.black.prompts.questions.empty());
    d.Play("e7e5 g1f3");
    d.black.state.StartTakeBacks(0, 3);
    for (int i = 0; i < 5; ++i) {
        d.black.negotiation.RequestTakeBack();
        if (CNegotiationDialog* dialog = d.black.Dialog())
            dialog->Press(AGREE);
    }
    EXPECT_EQ(d.black.SentOf(MSG_TAKEBACK_REQUEST).size(), 4u);
    EXPECT_EQ(d.black.SentOf(MSG_TAKEBACK_REQUEST)[3][3], 4) << "the count with the request";
    EXPECT_EQ(
        d.black.prompts.questions,
        std::vector<std::string>{std::string(CNegotiation::TOO_MANY_TAKEBACKS) + " [确定/取消]"});
    // A cancelled request sends nothing and spends nothing.
    Desk e;
    e.Play("e2e4 e7e5");
    e.white.negotiation.RequestTakeBack();
    e.white.Dialog()->Press(REFUSE);
    EXPECT_TRUE(e.white.SentOf(MSG_TAKEBACK_REQUEST).empty());
    EXPECT_EQ(e.white.state.TakeBackCount(), 0);
}

TEST(LocalTable, TakeBackWithoutDialogAndDrawEndsTheGameAtOnce) {
    test::ManualEventLoop loop;
    Relay relay;
    Client c(WHITE_ID, loop, relay);
    c.mode.SetLocalMode(true);
    c.Deliver(MSG_GAME_BEGIN, {0, 0, 0, 0});
    auto echo = [&] {
        while (!relay.queue.empty()) {
            const auto m = relay.queue.front();
            relay.queue.pop_front();
            c.Deliver(m.type, m.body);
        }
    };
    for (const char* move : {"e2e4", "e7e5", "g1f3"}) {
        MoveRecord record;
        ASSERT_TRUE(c.Check(c.people.GetCurrentTurnSeat() == 0 ? Colour::White : Colour::Black,
                            move, &record));
        c.table.SendMove(record);
        echo();
    }
    c.negotiation.RequestTakeBack();
    EXPECT_EQ(c.Dialog(), nullptr);
    echo();
    EXPECT_EQ(c.position.MoveCount(), 1u);
    c.negotiation.OfferDraw();
    c.Dialog()->Press(AGREE);
    echo();
    const auto results = c.SentOf(MSG_GAME_RESULT);
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0], (std::vector<uint8_t>{0, 0, 0, 0, 0xFF, 0xFF, 0x02, 0x8B}));
    EXPECT_EQ(c.table.m_nResultWinnerSeat, -1);
    EXPECT_EQ(c.table.m_nResultReason, 651);
    EXPECT_EQ(c.SentOf(MSG_NEW_GAME).size(), 1u) << "a local table starts the next game";
    // The next game's ready notice came back from the own seat: it waits for the start.
    EXPECT_EQ(c.state.State(), GameState::Ready);
    EXPECT_TRUE(c.client.ButtonBoard().IsEnabled(CButtonBoard::ID_START));
    EXPECT_TRUE(c.prompts.notices.empty()) << "a draw has no line to show";
}

TEST(Draw, AgreedEndsTheGameWithoutWinnerAndRefusalTellsTheOfferer) {
    for (bool agree : {true, false}) {
        Desk d;
        d.Play(SEVEN_PLIES);
        d.black.negotiation.OfferDraw();
        EXPECT_EQ(d.black.Dialog()->Text(), "您真的要和棋么？");
        d.black.Dialog()->Press(AGREE);
        const auto offer = d.black.SentOf(MSG_DRAW_OFFER);
        ASSERT_EQ(offer.size(), 1u);
        EXPECT_EQ(offer[0], (std::vector<uint8_t>{0, 1, 0, 4, 0, 0}));
        d.Flush();
        ASSERT_NE(d.white.Dialog(), nullptr);
        EXPECT_EQ(d.white.Dialog()->Text(), "“black”要和棋，您同意么？");
        EXPECT_EQ(d.white.Dialog()->CountdownLine(), "[30]“black”要和棋，您同意么？");
        d.white.Dialog()->Press(agree ? AGREE : REFUSE);
        EXPECT_EQ(d.white.SentOf(MSG_DRAW_ANSWER)[0],
                  (std::vector<uint8_t>{0, 0, 0, 5, 0, uint8_t(agree)}));
        d.Flush();
        for (Client* c : d.All()) {
            EXPECT_EQ(c->state.State(), agree ? GameState::Ended : GameState::Playing);
            if (agree) {
                EXPECT_EQ(c->table.m_nResultWinnerSeat, -1);
                EXPECT_EQ(c->table.m_nResultReason, 651);
                EXPECT_EQ(c->table.ResultLine(), "");
            }
        }
        EXPECT_EQ(d.black.host.texts.back(),
                  agree ? "您真的要和棋么？" : CNegotiation::DRAW_REFUSED);
        EXPECT_EQ(d.white.host.texts.size(), 1u);
        EXPECT_TRUE(d.watcher.host.texts.empty());
    }
}

TEST(Exchange, AgreedSwapsColoursEverywhereAndTellsTheWatcher) {
    for (bool agree : {true, false}) {
        Desk d;
        // As after a game that ended with Black to move: the turn is not the first mover's.
        for (Client* c : d.All()) {
            c->Deliver(MSG_GAME_RESULT, {0, 1, 0, 1, 0, 0, 0, 8});
            c->people.SetCurrentTurnSeat(1);
        }
        d.white.negotiation.RequestExchange();
        EXPECT_EQ(d.white.Dialog()->Text(), "您真的要交换棋子么？");
        d.white.Dialog()->Press(AGREE);
        EXPECT_EQ(d.white.SentOf(MSG_EXCHANGE_REQUEST)[0], (std::vector<uint8_t>{0, 0, 0, 1}));
        d.Flush();
        ASSERT_NE(d.black.Dialog(), nullptr);
        EXPECT_EQ(d.black.Dialog()->Caption(), "交换应答");
        d.black.Dialog()->Press(agree ? AGREE : REFUSE);
        EXPECT_EQ(d.black.SentOf(MSG_EXCHANGE_ANSWER)[0],
                  (std::vector<uint8_t>{0, 1, 0, uint8_t(agree), 0, 1}));
        d.Flush();
        for (Client* c : d.All()) {
            EXPECT_EQ(c->people.GetPersonById(WHITE_ID)->colour,
                      agree ? Colour::Black : Colour::White);
            EXPECT_EQ(c->people.GetPersonById(BLACK_ID)->colour,
                      agree ? Colour::White : Colour::Black);
            EXPECT_EQ(c->people.GetFirstMoverSeat(), agree ? 1 : 0);
        }
        EXPECT_EQ(d.watcher.people.GetOwnColour(), agree ? Colour::Black : Colour::White);
        EXPECT_EQ(d.watcher.host.texts, agree ? std::vector<std::string>{CNegotiation::EXCHANGED}
                                              : std::vector<std::string>{});
        EXPECT_EQ(d.white.host.texts.back(),
                  agree ? "您真的要交换棋子么？" : CNegotiation::EXCHANGE_REFUSED);
        EXPECT_EQ(d.black.host.texts.size(), 1u);
    }
}

// Colours are exchanged between games only. During a game the opponent's table refuses a
// request at once, without a dialog, and an agreement that comes anyway changes no colour: the
// game goes on to its end with the sides that began it.
TEST(Exchange, DuringAGameIsRefusedAtOnceAndAnAgreementIsNotApplied) {
    Desk d;
    d.Play("e2e4 e7e5 g1f3 b8c6");
    d.white.negotiation.SendExchangeRequest();
    d.Flush();
    EXPECT_TRUE(d.black.host.texts.empty()) << "no dialog";
    // 617: answerer seat 1, agree 0, the seat after the first mover.
    ASSERT_EQ(d.black.SentOf(MSG_EXCHANGE_ANSWER).size(), 1u);
    EXPECT_EQ(d.black.SentOf(MSG_EXCHANGE_ANSWER)[0], (std::vector<uint8_t>{0, 1, 0, 0, 0, 1}));
    EXPECT_EQ(d.white.host.texts, std::vector<std::string>{CNegotiation::EXCHANGE_REFUSED});
    // An agreement from a client that answered yes during the game.
    const std::vector<uint8_t> agreed{0, 1, 0, 1, 0, 1};
    for (Client* c : d.All())
        c->Deliver(MSG_EXCHANGE_ANSWER, agreed);
    for (Client* c : d.All()) {
        EXPECT_EQ(c->people.GetPersonById(WHITE_ID)->colour, Colour::White);
        EXPECT_EQ(c->people.GetFirstMoverSeat(), 0);
        EXPECT_EQ(c->people.GetCurrentTurnSeat(), 0);
    }
    EXPECT_TRUE(d.watcher.host.texts.empty());
    d.Play("f1c4 d7d6 b1c3 c8g4 f3e5 g4d1 c4f7 e8e7 c3d5");
    for (Client* c : d.All()) {
        EXPECT_EQ(c->state.State(), GameState::Ended);
        EXPECT_EQ(c->table.ResultLine(), "white[white]成功将杀！");
    }
}

// On a local table one user plays both sides: the side to move resigns.
TEST(LocalTable, TheSideToMoveResigns) {
    for (const char* moves : {"e2e4", "e2e4 e7e5"}) {
        test::ManualEventLoop loop;
        Relay relay;
        Client c(WHITE_ID, loop, relay);
        c.mode.SetLocalMode(true);
        c.prompts.yesNoAnswer = true;
        c.Deliver(MSG_GAME_BEGIN, {0, 0, 0, 0});
        auto echo = [&] {
            while (!relay.queue.empty()) {
                const auto m = relay.queue.front();
                relay.queue.pop_front();
                c.Deliver(m.type, m.body);
            }
        };
        std::istringstream in(moves);
        for (std::string move; in >> move;) {
            MoveRecord record;
            ASSERT_TRUE(c.Check(c.people.GetCurrentTurnSeat() == 0 ? Colour::White : Colour::Black,
                                move, &record));
            c.table.SendMove(record);
            echo();
        }
        const bool blackToMove = std::string(moves) == "e2e4";
        c.negotiation.Resign();
        // 651: sender seat 0, decisive 1, the winner's seat, reason 8.
        ASSERT_EQ(c.SentOf(MSG_GAME_RESULT).size(), 1u) << moves;
        EXPECT_EQ(c.SentOf(MSG_GAME_RESULT)[0],
                  (std::vector<uint8_t>{0, 0, 0, 1, 0, uint8_t(blackToMove ? 0 : 1), 0, 8}))
            << moves;
        echo();
        EXPECT_EQ(c.table.ResultLine(),
                  blackToMove ? "black[black]中途认输！" : "white[white]中途认输！")
            << moves;
    }
}

TEST(Resign, SendsAResultWithReasonEightForTheOtherSeat) {
    Desk d;
    d.black.prompts.yesNoAnswer = false;
    d.black.negotiation.Resign();
    EXPECT_TRUE(d.black.SentOf(MSG_GAME_RESULT).empty());
    d.black.prompts.yesNoAnswer = true;
    d.black.negotiation.Resign();
    EXPECT_EQ(d.black.prompts.questions.back(), "您确定要认输么？");
    ASSERT_EQ(d.black.SentOf(MSG_GAME_RESULT).size(), 1u);
    EXPECT_EQ(d.black.SentOf(MSG_GAME_RESULT)[0], (std::vector<uint8_t>{0, 1, 0, 1, 0, 0, 0, 8}));
    d.Flush();
    for (Client* c : d.All())
        EXPECT_EQ(c->table.ResultLine(), "black[black]中途认输！");
}

// The close dialog's buttons: leaving at once resigns first after move 10; asking to leave
// sends the exit request during a game.
TEST(Leave, WhatEachButtonOfTheCloseDialogSends) {
    const struct {
        int16_t moveNumber;
        bool playing;
        int32_t button;
        std::vector<uint16_t> types;
        uint16_t reason;
        int closed;
    } cases[] = {
        {11, true, CNegotiationDialog::ID_LEAVE_NOW, {MSG_GAME_RESULT, MSG_LEAVE_TABLE}, 0, 1},
        {10, true, CNegotiationDialog::ID_LEAVE_NOW, {MSG_LEAVE_TABLE}, 1, 1},
        {10, false, CNegotiationDialog::ID_LEAVE_NOW, {MSG_LEAVE_TABLE}, 0, 1},
        {3, true, CNegotiationDialog::ID_ASK_LEAVE, {MSG_EXIT_REQUEST}, 0, 0},
        {3, false, CNegotiationDialog::ID_ASK_LEAVE, {MSG_LEAVE_TABLE}, 0, 1},
        {3, true, REFUSE, {}, 0, 0},
    };
    for (const auto& c : cases) {
        Desk d;
        Client& w = d.white;
        w.position.SetMoveNumber(c.moveNumber);
        if (!c.playing)
            w.state.End(GameEnd::Result);
        w.sender.sent.clear();
        w.negotiation.OpenExitDialog(true, 0);
        ASSERT_EQ(w.Dialog()->Buttons().size(), 3u);
        EXPECT_EQ(w.Dialog()->Buttons()[0].label, "强行退出");
        w.Dialog()->Press(c.button);
        std::vector<uint16_t> types;
        for (const auto& s : w.sender.sent)
            types.push_back(s.type);
        EXPECT_EQ(types, c.types) << c.moveNumber << " " << c.button;
        EXPECT_EQ(w.host.closed, c.closed) << c.moveNumber << " " << c.button;
        const auto leave = w.SentOf(MSG_LEAVE_TABLE);
        if (!leave.empty()) {
            MSG_LEAVE_TABLE_BODY body;
            ASSERT_TRUE(MSG_LEAVE_TABLE_BODY::FromWire(leave[0].data(), leave[0].size(), body));
            EXPECT_EQ(body.reason, c.reason) << c.moveNumber;
            EXPECT_EQ(body.seatno, 0);
        }
        const auto result = w.SentOf(MSG_GAME_RESULT);
        if (!result.empty()) {
            EXPECT_EQ(result[0], (std::vector<uint8_t>{0, 0, 0, 1, 0, 1, 0, 8}));
        }
        const auto exit = w.SentOf(MSG_EXIT_REQUEST);
        if (!exit.empty()) {
            EXPECT_EQ(exit[0], (std::vector<uint8_t>{0, 0, 0, 100, 0, 0, 0, 1}));
        }
    }
}

TEST(Leave, TheAnswerNamesTheRequesterAndSilenceRefuses) {
    for (int32_t button : {AGREE, REFUSE, 0}) {
        Desk d;
        d.black.negotiation.OpenExitDialog(false, 0);
        CNegotiationDialog* dialog = d.black.Dialog();
        EXPECT_EQ(dialog->Text(), "对方请求退出，你同意么？");
        EXPECT_EQ(dialog->CountdownLine(), "30");
        if (button != 0)
            dialog->Press(button);
        else
            d.loop.Advance(30000);
        const auto answer = d.black.SentOf(MSG_EXIT_ANSWER);
        ASSERT_EQ(answer.size(), 1u);
        MSG_EXIT_ANSWER_BODY body;
        ASSERT_TRUE(MSG_EXIT_ANSWER_BODY::FromWire(answer[0].data(), answer[0].size(), body));
        EXPECT_EQ(body.answererId, BLACK_ID);
        EXPECT_EQ(body.answererSeat, 1);
        EXPECT_EQ(body.requesterId, WHITE_ID);
        EXPECT_EQ(body.requesterSeat, 0);
        EXPECT_EQ(body.refused, button == AGREE ? 0 : 1);
    }
}

// Each dialog's texts, buttons and countdown line in both modes.
TEST(NegotiationDialog, TextsButtonsAndCountdownOfEachKind) {
    const struct {
        Kind kind;
        bool request;
        std::string text, caption, title, buttons, line;
    } cases[] = {
        {Kind::BackPace, true, "确定要悔棋吗？", "", "", "确定 取消", "确定要悔棋吗？[30]"},
        {Kind::BackPace, false, "对方要悔棋，同意吗？", "", "", "同意 不同意",
         "对方要悔棋，同意吗？[30]"},
        {Kind::Peace, true, "您真的要和棋么？", "", "和棋确认", "确定 取消",
         "[30]您真的要和棋么？"},
        {Kind::Peace, false, "“Bob”要和棋，您同意么？", "和棋应答", "和棋确认", "同意 不同意",
         "[30]“Bob”要和棋，您同意么？"},
        {Kind::Exchange, true, "您真的要交换棋子么？", "交换", "交换先手", "确定 取消",
         "[30]您真的要交换棋子么？"},
        {Kind::Exchange, false, "对方想要交换棋子,您同意么?", "交换应答", "交换先手", "同意 不同意",
         "[30]对方想要交换棋子,您同意么?"},
        {Kind::GameClose, true, "您真的要结束本局游戏么？", "退出", "关 闭",
         "强行退出 请求退出 取消", "30"},
        {Kind::GameClose, false, "对方请求退出，你同意么？", "退出应答", "关 闭", "同意 不同意",
         "30"},
        {Kind::Information, true, "Bob", "提示", "提 示", "关闭", "[20]Bob"},
    };
    test::ManualEventLoop loop;
    for (const auto& c : cases) {
        CNegotiationDialog dialog(c.kind, c.request, loop, nullptr, "Bob");
        std::string buttons;
        for (const auto& b : dialog.Buttons())
            buttons += (buttons.empty() ? "" : " ") + b.label;
        EXPECT_EQ(dialog.Text(), c.text);
        EXPECT_EQ(dialog.Caption(), c.caption) << c.text;
        EXPECT_EQ(dialog.Title(), c.title) << c.text;
        EXPECT_EQ(buttons, c.buttons) << c.text;
        EXPECT_EQ(dialog.CountdownLine(), c.line);
        EXPECT_EQ(loop.TimerPeriod(&dialog, CNegotiationDialog::COUNTDOWN_TIMER), 1000u);
    }
}

TEST(NegotiationDialog, CountdownEndPressesRefuseOnceAndStopsTheTimer) {
    test::ManualEventLoop loop;
    std::vector<int32_t> commands;
    CNegotiationDialog request(Kind::Peace, true, loop,
                               [&](int32_t id) { commands.push_back(id); });
    CNegotiationDialog notice(
        Kind::Information, true, loop, [&](int32_t id) { commands.push_back(-id); }, "x");
    loop.Advance(20000);
    EXPECT_EQ(commands, std::vector<int32_t>{-REFUSE}) << "a notice closes after 20 s";
    loop.Advance(10000);
    EXPECT_EQ(commands, (std::vector<int32_t>{-REFUSE, REFUSE}));
    EXPECT_TRUE(request.IsClosed());
    EXPECT_FALSE(loop.IsTimerSet(&request, CNegotiationDialog::COUNTDOWN_TIMER));
    request.Press(AGREE);
    EXPECT_EQ(commands.size(), 2u) << "a closed dialog sends nothing more";
}

// The result line of every reason, with the names of the right player.
TEST(Results, ResultLineOfEveryReason) {
    test::ManualEventLoop loop;
    Relay relay;
    Client c(WHITE_ID, loop, relay);
    const struct {
        int16_t winner, loser, reason;
        std::string line;
    } cases[] = {
        {0, 1, 1, "长将作和！"},
        {0, 1, 2, "无子可动，逼和！"},
        {-1, -1, 4, "双方长不变判和！"},
        {-1, -1, 5, "双方连续60回合没有吃子，判和！"},
        {-1, -1, 6, "双方200回合没有确定胜负，判和！"},
        {0, 1, 7, "black[black]超时判输！"},
        {1, 0, 8, "white[white]中途认输！"},
        {1, 5, 8, ""},
        {0, 1, 651, "white[white]成功将杀！"},
        {-1, -1, 651, ""},
        {1, 0, 3, "black[black]成功将杀！"},
    };
    for (const auto& r : cases)
        EXPECT_EQ(ResultLine(c.people, r.winner, r.loser, r.reason), r.line) << r.reason;
    // A result from the wire: the loser is the seat after the winner, none after no winner.
    c.Deliver(MSG_GAME_RESULT, {0, 1, 0, 1, 0, 0, 0, 8});
    EXPECT_EQ(c.table.m_nResultLoserSeat, 1);
    EXPECT_EQ(c.table.ResultLine(), "black[black]中途认输！");
    c.Deliver(MSG_GAME_BEGIN, {0, 0, 0, 0});
    c.Deliver(MSG_GAME_RESULT, {0, 0, 0, 0, 0xFF, 0xFF, 0x02, 0x8B});
    EXPECT_EQ(c.table.m_nResultLoserSeat, -1);
    EXPECT_EQ(c.table.ResultLine(), "");
}

TEST(Results, ScoreTableSizesAndSignedValues) {
    test::ManualEventLoop loop;
    Relay relay;
    Client c(WHITE_ID, loop, relay);
    PERSON longName = test::MakePerson(BLACK_ID, "black", 1);
    std::memset(longName.nickname, 0, sizeof longName.nickname);
    std::memcpy(longName.nickname, "abcdefghijklmnopqrstuvwxyz01234\xc4\xe3", 33);
    c.people.AddPerson(longName);
    MSG_SCORES_BODY scores;
    scores.points = {10, -10};
    scores.total = {110, -1234567};
    scores.won = {3, 0};
    scores.lost = {0, 3};
    scores.drawn = {1, 1};
    const auto wire = scores.ToWire();
    MSG_SCORES_BODY read;
    ASSERT_TRUE(MSG_SCORES_BODY::FromWire(wire.data(), wire.size(), read));
    CResultDialogModel model("white[white]成功将杀！", c.people, read);
    EXPECT_EQ(model.Width(), 290);
    EXPECT_EQ(model.Height(), 22 * 4 + 38 + 40);
    EXPECT_EQ(model.CloseButton(), (CRect{115, 131, 175, 161}));
    ASSERT_EQ(model.Columns().size(), 6u);
    EXPECT_EQ(model.Columns()[1].title, "本局");
    EXPECT_EQ(model.Cell(0, 0), "white");
    EXPECT_EQ(model.Cell(1, 0), "abcdefghijklmnopqrstuvwxyz01234") << "cut at 31 bytes";
    EXPECT_EQ(model.Cell(1, 1), "-10");
    EXPECT_EQ(model.Cell(1, 2), "-1234567");
    EXPECT_EQ(model.Cell(0, 3), "3");
    EXPECT_EQ(model.Line(), "white[white]成功将杀！");
}

} // namespace
} // namespace kelo
