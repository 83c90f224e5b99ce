// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CCoordinateMove.h"
#include "chess/ChessTypes.h"
#include "link/CCommunicationLayer.h"
#include "link/CMessageSinkRegistry.h"
#include "link/CTableMode.h"
#include "link/MSG_GAME_RESULT.h"
#include "link/MSG_GAME_STATE.h"
#include "link/MSG_MOVE.h"
#include "link/MessageTypes.h"
#include "link/WireOrder.h"
#include "ports/ISoundPlayer.h"
#include "support/ChessTable.h"
#include "support/ManualEventLoop.h"
#include "support/RecordingSound.h"
#include "table/CPlayerManager.h"
#include "table/CPlayerTimeControl.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kelo {
namespace {

using test::ChessTable;

constexpr uint32_t WHITE_ID = 100, BLACK_ID = 200;

using test::RecordingSound;

// One client's table with the board taking the game messages; moves made on it are recorded
// as steps, ready to be relayed back.
struct BoardTable : ChessTable {
    explicit BoardTable(uint32_t own = WHITE_ID) : ChessTable(own) { people.SetSeatCount(2); }
    void Deliver(uint16_t type, const std::vector<uint8_t>& body = {}) {
        table.HandleGameMessage(type, body.empty() ? nullptr : body.data(),
                                static_cast<uint32_t>(body.size()));
    }
    void Begin(uint16_t firstSeat = 0) { Deliver(MSG_GAME_BEGIN, {0, uint8_t(firstSeat), 0, 0}); }
    // The step of a legal move of the side to move, as the server would relay it.
    std::vector<uint8_t> Step(Colour colour, const std::string& text) {
        MoveRecord record;
        EXPECT_TRUE(Check(colour, text, &record)) << text;
        record.moveNumber = position.MoveNumber();
        const auto wire = MSG_MOVE_BODY::FromRecord(record).ToWire();
        return {wire.begin(), wire.end()};
    }
    std::vector<uint8_t> Steps(const std::string& line) {
        // Steps are built on a scratch table that plays the line as it goes.
        BoardTable scratch;
        scratch.Begin();
        std::vector<uint8_t> all;
        std::istringstream in(line);
        Colour colour = Colour::White;
        for (std::string move; in >> move; colour = OppositeColour(colour)) {
            const auto step = scratch.Step(colour, move);
            scratch.Deliver(MSG_MOVE, step);
            all.insert(all.end(), step.begin(), step.end());
        }
        return all;
    }
    std::vector<uint16_t> SentTypes() const {
        std::vector<uint16_t> types;
        for (const auto& s : sender.sent)
            types.push_back(s.type);
        return types;
    }
};

std::vector<uint8_t> GameStateBody(uint16_t firstSeat, uint16_t moves) {
    MSG_GAME_STATE_BODY state;
    state.fields[1] = firstSeat;
    state.fields[3] = 900;
    state.fields[4] = 30;
    state.fields[5] = 5;
    state.fields[6] = 3;
    state.fields[13] = moves;
    const auto wire = state.ToWire();
    return {wire.begin(), wire.end()};
}

TEST(BoardMessages, AMoveMadeHereWaitsForItsEcho) {
    BoardTable t;
    t.Begin();
    MoveRecord record;
    ASSERT_TRUE(t.Check(Colour::White, "e2e4", &record));
    t.time.m_nStepCounter = 7;
    t.table.SendMove(record);
    ASSERT_EQ(t.SentTypes(), std::vector<uint16_t>{MSG_MOVE});
    ASSERT_EQ(t.sender.sent[0].body.size(), MSG_MOVE_BODY::SIZE);
    const auto sent = MSG_MOVE_BODY::FromWire(t.sender.sent[0].body.data());
    EXPECT_EQ(sent.clock, 7);
    EXPECT_EQ(sent.moveNumber, 1);
    EXPECT_TRUE(t.table.m_bAwaitingEcho);
    EXPECT_NE(t.board.PieceAt(CBasePoint(4, 6)), nullptr) << "applied before the echo";

    t.Deliver(MSG_MOVE, t.sender.sent[0].body);
    EXPECT_EQ(t.board.PieceAt(CBasePoint(4, 6)), nullptr);
    EXPECT_FALSE(t.table.m_bAwaitingEcho);
    EXPECT_EQ(t.board.PlyCount(), 1);
    EXPECT_EQ(t.people.GetCurrentTurnSeat(), 1);
    EXPECT_EQ(t.board.LastMoveSquares(), (std::vector<CBasePoint>{{4, 6}, {4, 4}}));
    EXPECT_EQ(t.sound.waves, std::vector<uint16_t>{ISoundPlayer::WAVE_MOVE});
}

// The move number counts the own side's moves; in local mode it rises after the other side's.
TEST(BoardMessages, MoveNumberRules) {
    const struct {
        uint32_t own;
        bool local;
        int16_t afterWhite, afterBlack;
    } cases[] = {
        {WHITE_ID, false, 2, 2},
        {BLACK_ID, false, 1, 2},
        {WHITE_ID, true, 1, 2},
    };
    for (const auto& c : cases) {
        BoardTable t(c.own);
        t.mode.SetLocalMode(c.local);
        t.Begin();
        t.Deliver(MSG_MOVE, t.Step(Colour::White, "e2e4"));
        EXPECT_EQ(t.position.MoveNumber(), c.afterWhite) << c.own << " local " << c.local;
        t.Deliver(MSG_MOVE, t.Step(Colour::Black, "e7e5"));
        EXPECT_EQ(t.position.MoveNumber(), c.afterBlack) << c.own << " local " << c.local;
    }
}

// A relayed move that does not fit the position, or is not the side to move's, is ignored: no
// ply, no turn, no change.
TEST(BoardMessages, AMoveThatDoesNotFitIsIgnored) {
    auto step = [](uint32_t from, uint32_t to, size_t size = MSG_MOVE_BODY::SIZE,
                   Colour colour = Colour::White) {
        MSG_MOVE_BODY body;
        body.colour = WireValue(colour);
        body.kind = WireValue(PieceKind::Pawn);
        body.from = from;
        body.to = to;
        const auto wire = body.ToWire();
        return std::vector<uint8_t>(wire.begin(), wire.begin() + size);
    };
    const struct {
        const char* name;
        std::vector<uint8_t> body;
    } cases[] = {
        {"empty from square", step(404, 403)},
        {"from off the board", step(408, 404)},
        {"to off the board", step(406, 0xFFFFFFFF)},
        // e4's code plus a layer that a 16-bit layer would wrap round to 0.
        {"a layer past 16 bits", step(406, 655360404)},
        {"another layer", step(10406, 404)},
        {"short body", step(406, 404, 19)},
        {"no body", {}},
        {"the side not to move", step(401, 403, MSG_MOVE_BODY::SIZE, Colour::Black)},
    };
    for (const auto& c : cases) {
        BoardTable t;
        t.Begin();
        t.table.m_bAwaitingEcho = true;
        t.Deliver(MSG_MOVE, c.body);
        EXPECT_EQ(t.board.PlyCount(), 0) << c.name;
        EXPECT_EQ(t.position.MoveCount(), 0u) << c.name;
        EXPECT_EQ(t.people.GetCurrentTurnSeat(), 0) << c.name;
        EXPECT_TRUE(t.table.m_bAwaitingEcho) << c.name;
        EXPECT_TRUE(t.sound.waves.empty()) << c.name;
    }
}

// Joining a game under way: the moves come back through the hand-on as ordinary moves, the
// sound plays for the last one only, and a mate among them is never reported again.
TEST(BoardMessages, JoiningReplaysTheMovesThroughTheHandOn) {
    test::ManualEventLoop loop;
    CMessageSinkRegistry registry(loop);
    BoardTable t(BLACK_ID);
    t.table.SetHandOn(&registry);
    registry.RegisterSink(&t.table);
    // A client that had played before: its counts must not leak into the replay.
    t.Begin();
    t.Deliver(MSG_MOVE, t.Step(Colour::White, "e2e4"));
    ASSERT_EQ(t.board.PlyCount(), 1);
    t.sender.sent.clear();
    t.sound.waves.clear();

    auto steps = t.Steps("f2f3 e7e5 g2g4 d8h4");
    steps.resize(steps.size() + 7, 0x55); // a torn fifth step, which is not replayed
    const auto head = GameStateBody(0, 4);
    registry.HandOn(MSG_GAME_STATE, head.data(), static_cast<uint32_t>(head.size()));
    registry.HandOn(MSG_GAME_STATE_MOVES, steps.data(), static_cast<uint32_t>(steps.size()));
    loop.RunPending();

    EXPECT_EQ(t.board.PlyCount(), 4);
    EXPECT_EQ(t.position.MoveCount(), 4u);
    EXPECT_EQ(t.sound.waves, std::vector<uint16_t>{ISoundPlayer::WAVE_MOVE});
    EXPECT_TRUE(t.sender.sent.empty()) << "a replayed mate was reported";
    EXPECT_EQ(t.state.State(), GameState::Playing);
    EXPECT_EQ(t.state.LockState(), TableLock::Locked);
    EXPECT_EQ(t.state.MaxTakeBacks(), 3);
    EXPECT_EQ(t.time.m_nPaceTime, 30);
    EXPECT_EQ(t.people.GetCurrentTurnSeat(), 0);
    EXPECT_EQ(t.position.MoveNumber(), 3); // Black's two moves
    EXPECT_EQ(t.board.PieceAt(CBasePoint(7, 4))->m_kind, PieceKind::Queen);

    t.Deliver(MSG_TABLE_UNLOCK);
    EXPECT_EQ(t.state.LockState(), TableLock::Free);
}

TEST(BoardMessages, JoiningAfterASeatSwapGivesTheFirstSeatWhite) {
    BoardTable t(WHITE_ID);
    t.Deliver(MSG_GAME_STATE, GameStateBody(1, 0));
    const CPlayerManager& people = t.people;
    EXPECT_EQ(people.GetPersonBySeat(1)->colour, Colour::White);
    EXPECT_EQ(people.GetOwnColour(), Colour::Black);
    EXPECT_EQ(people.GetCurrentTurnSeat(), 1);
}

TEST(BoardMessages, StartMessages) {
    BoardTable t;
    t.Deliver(MSG_START_INFO, std::vector<uint8_t>(18));
    EXPECT_EQ(t.state.LockState(), TableLock::Locked);
    EXPECT_EQ(t.position.Pieces().size(), 32u);

    t.Begin();
    t.Deliver(MSG_MOVE, t.Step(Colour::White, "e2e4"));
    // The save offer runs once the result is recorded, with the game's moves still there.
    int offers = 0;
    t.saveOffer = [&] {
        ++offers;
        EXPECT_EQ(t.state.State(), GameState::Ended);
        EXPECT_EQ(t.position.MoveCount(), 1u);
    };
    t.Deliver(MSG_GAME_RESULT, {0, 1, 0, 1, 0, 1, 0x02, 0x8B});
    EXPECT_EQ(offers, 1);
    // The other player's report of the same end ends nothing more.
    t.Deliver(MSG_GAME_RESULT, {0, 0, 0, 1, 0, 1, 0x02, 0x8B});
    EXPECT_EQ(offers, 1);
    EXPECT_EQ(t.state.State(), GameState::Ended);
    EXPECT_EQ(t.table.m_nResultWinnerSeat, 1);
    EXPECT_EQ(t.table.m_nResultLoserSeat, 0);
    EXPECT_EQ(t.table.m_nResultReason, 651);

    t.Deliver(MSG_NEW_GAME, std::vector<uint8_t>(6));
    EXPECT_EQ(t.state.State(), GameState::None);
    // The finished game stays on view until the next one begins.
    EXPECT_EQ(t.board.PlyCount(), 1);
    EXPECT_TRUE(t.table.FinishedGameOnView());
    ASSERT_EQ(t.SentTypes(), std::vector<uint16_t>{MSG_READY});
    EXPECT_EQ(t.sender.sent[0].body, (std::vector<uint8_t>{0, 0, 0, 1}));

    // Outside local mode the server starts the game, not the prepare message.
    t.Deliver(MSG_GAME_PREPARE, std::vector<uint8_t>(40));
    EXPECT_EQ(t.state.LockState(), TableLock::Locked);
    EXPECT_EQ(t.SentTypes(), (std::vector<uint16_t>{MSG_READY, MSG_READY}));
}

// The finished game stays on the board through the server's readying of the next one (601,
// then 662), its last move marked, until the next game begins or the player leaves it.
TEST(BoardMessages, TheFinishedGameStaysOnViewUntilTheNextBegins) {
    for (const bool pressStart : {false, true}) {
        BoardTable t;
        t.Deliver(MSG_START_INFO, std::vector<uint8_t>(18));
        t.Begin();
        const auto steps = t.Steps("f2f3 e7e5 g2g4 d8h4");
        for (size_t at = 0; at < steps.size(); at += MSG_MOVE_BODY::SIZE)
            t.Deliver(MSG_MOVE, {steps.begin() + at, steps.begin() + at + MSG_MOVE_BODY::SIZE});
        t.Deliver(MSG_GAME_RESULT, {0, 1, 0, 1, 0, 1, 0x02, 0x8B});
        const auto lastMove = t.board.LastMoveSquares();
        ASSERT_EQ(lastMove.size(), 2u);
        t.Deliver(MSG_NEW_GAME, std::vector<uint8_t>(6));
        t.Deliver(MSG_START_INFO, std::vector<uint8_t>(18));
        EXPECT_EQ(t.state.State(), GameState::None) << pressStart;
        EXPECT_EQ(t.position.MoveCount(), 4u) << pressStart;
        EXPECT_EQ(t.board.LastMoveSquares(), lastMove) << pressStart;
        EXPECT_TRUE(t.table.FinishedGameOnView());
        if (pressStart)
            t.table.LeaveFinishedGame();
        else
            t.Begin();
        EXPECT_FALSE(t.table.FinishedGameOnView());
        EXPECT_TRUE(t.board.LastMoveSquares().empty()) << pressStart;
        EXPECT_EQ(t.board.PlyCount(), 0) << pressStart;
        if (!pressStart) {
            EXPECT_EQ(t.position.MoveCount(), 0u);
        }
    }
}

// Every type the board knows, with no body or a torn one: nothing is read past the end and
// nothing changes that the body would have decided.
TEST(BoardMessages, BodiesShorterThanTheirTypeAreHarmless) {
    for (uint16_t type : {601, 602, 606, 616, 617, 621, 623, 626, 627, 631, 636,  637,
                          641, 642, 646, 647, 651, 656, 661, 662, 663, 666, 10001}) {
        for (size_t size : {0, 1, 3, 7, 19, 27}) {
            BoardTable t;
            const std::vector<uint8_t> body(size, 0xFF);
            t.table.HandleGameMessage(type, body.empty() ? nullptr : body.data(),
                                      static_cast<uint32_t>(size));
            const bool tooShort = (type == MSG_GAME_BEGIN && size < 2) ||
                                  (type == MSG_GAME_RESULT && size < 8) ||
                                  (type == MSG_GAME_STATE && size < 28);
            if (tooShort) {
                EXPECT_EQ(t.state.State(), GameState::None) << type << " with " << size << " bytes";
            }
            EXPECT_EQ(t.position.MoveCount(), 0u) << type;
        }
    }
}

// A take-back request (seat, count, step) announces the requester's count, kept for the record;
// a body that ends inside the count changes nothing.
TEST(BoardMessages, ATakeBackRequestKeepsTheRequestersCount) {
    BoardTable t;
    t.Deliver(MSG_TAKEBACK_REQUEST, {0, 1, 0});
    EXPECT_EQ(t.state.SeatTakeBackCount(1), 0);
    t.Deliver(MSG_TAKEBACK_REQUEST, {0, 1, 0, 3});
    EXPECT_EQ(t.state.SeatTakeBackCount(1), 3);
    EXPECT_EQ(t.state.SeatTakeBackCount(0), 0);
}

// Without a server: a prepare message starts the game at once with seat 0, and both sides'
// moves come straight back through the table's own windows.
TEST(BoardMessages, LocalModePlaysBothSidesWithoutAServer) {
    test::ManualEventLoop loop;
    CMessageSinkRegistry registry(loop);
    ChessTable t(WHITE_ID);
    CCommunicationLayer layer(t.mode, t.people);
    t.sender.forward = &layer;
    t.mode.SetLocalMode(true);
    t.people.SetSeatCount(2);
    layer.Attach(nullptr, &registry, &loop, nullptr);
    t.table.SetHandOn(&registry);
    registry.RegisterSink(&t.table);

    const std::vector<uint8_t> prepare(40);
    registry.HandOn(MSG_GAME_PREPARE, prepare.data(), 40);
    loop.RunPending();
    EXPECT_EQ(t.state.State(), GameState::Playing);
    EXPECT_EQ(t.people.GetCurrentTurnSeat(), 0);

    std::istringstream line("f2f3 e7e5 g2g4 d8h4");
    for (std::string text; line >> text;) {
        const CPlayerManager& people = t.people;
        const Colour colour =
            people.GetPersonBySeat(static_cast<int16_t>(people.GetCurrentTurnSeat()))->colour;
        MoveRecord record;
        ASSERT_TRUE(t.Check(colour, text, &record)) << text;
        t.table.SendMove(record);
        EXPECT_TRUE(t.table.m_bAwaitingEcho);
        loop.RunPending();
        EXPECT_FALSE(t.table.m_bAwaitingEcho) << text;
    }
    EXPECT_EQ(t.position.MoveCount(), 4u);
    // The mate's result came back, and with nobody else to start it the next game follows.
    EXPECT_EQ(t.table.m_nResultWinnerSeat, 1);
    EXPECT_EQ(t.table.ResultLine(), "black[black]成功将杀！");
    EXPECT_EQ(t.state.State(), GameState::None);
    EXPECT_EQ(t.sender.sent.back().type, MSG_READY);
    layer.Detach();
}

} // namespace
} // namespace kelo
