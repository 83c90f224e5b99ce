// SPDX-License-Identifier: GPL-3.0-or-later
#include "CTableServer.h"

#include "chess/ChessTypes.h"
#include "link/CPersonRecord.h"
#include "link/MSG_ENTER_TABLE.h"
#include "link/MSG_EXCHANGE_ANSWER.h"
#include "link/MSG_EXIT_ANSWER.h"
#include "link/MSG_EXIT_DISCOURAGE.h"
#include "link/MSG_GAME_RESULT.h"
#include "link/MSG_GAME_STATE.h"
#include "link/MSG_HEAD.h"
#include "link/MSG_LEAVE_TABLE.h"
#include "link/MSG_MOVE.h"
#include "link/MSG_RESUME_ANSWER.h"
#include "link/MSG_RESUME_REQUEST.h"
#include "link/MSG_SCORES.h"
#include "link/MSG_SEAT_FLAG.h"
#include "link/MSG_SEQUENCE_START.h"
#include "link/MSG_START_INFO.h"
#include "link/MessageFrame.h"
#include "link/MessageTypes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace kelo {
namespace {

class Output : public CTableServer::IOutput {
public:
    void Send(int connection, const uint8_t* data, size_t count) override {
        received[connection].emplace_back(data, data + count);
    }
    void Close(int connection) override { closed.insert(connection); }
    void Report(const std::string& line) override { lines.push_back(line); }

    std::map<int, std::vector<std::vector<uint8_t>>> received;
    std::set<int> closed;
    std::vector<std::string> lines;
};

// One client as the server sees it: it enters a desk and numbers its messages with the
// counters the server gave it.
struct Client {
    int connection;
    uint32_t sequence = 5588;
    uint32_t comm = 2593;

    std::vector<uint8_t> Frame(uint16_t type, const std::vector<uint8_t>& body,
                               bool numbered = true) {
        if (numbered)
            ++sequence;
        return frame::BuildClientFrame(type, body.data(), body.size(), sequence, comm);
    }
};

// A chat body as a client sends it: the 48-byte head, its integers little-endian, naming the
// sender (a client of the fixture has the id 1000 + its connection), then the text and its
// zero byte.
std::vector<uint8_t> Chat(uint32_t id, const std::string& text, uint16_t seat = 0xFFFF,
                          uint16_t watchno = 0) {
    std::vector<uint8_t> body(48, 0);
    for (int i = 0; i < 4; ++i)
        body[i] = static_cast<uint8_t>(id >> (8 * i));
    body[4] = static_cast<uint8_t>(seat);
    body[5] = static_cast<uint8_t>(seat >> 8);
    body[6] = static_cast<uint8_t>(watchno);
    body[7] = static_cast<uint8_t>(watchno >> 8);
    body.insert(body.end(), text.begin(), text.end());
    body.push_back(0);
    return body;
}

class TableServerTest : public ::testing::Test {
protected:
    // Without a seat the client watches.
    Client Enter(int connection, uint16_t desk, uint16_t seat = 0xFFFF, uint16_t watchno = 0,
                 uint32_t id = 0) {
        server.OnAccept(connection, now);
        Client client{connection};
        MSG_ENTER_TABLE_BODY enter;
        enter.id = id != 0 ? id : 1000 + connection;
        enter.deskno = desk;
        enter.seatno = seat;
        enter.watchno = watchno;
        const auto body = enter.ToWire();
        Send(client, client.Frame(MSG_ENTER_TABLE, {body.begin(), body.end()}, false));
        const auto& answer = output.received[connection].front();
        const MSG_HEAD head = MSG_HEAD::Decode(answer.data());
        EXPECT_EQ(head.type, MSG_SEQUENCE_START);
        EXPECT_EQ(head.length, 28u); // the server's own messages carry no body digest
        EXPECT_TRUE(MSG_HEAD::Check(answer.data()));
        const auto start = MSG_SEQUENCE_START_BODY::FromWire(answer.data() + MSG_HEAD::SIZE);
        client.sequence = start.sequenceClient;
        client.comm = start.sequenceComm;
        entry = output.received[connection];
        output.received[connection].clear();
        return client;
    }
    void Send(const Client& client, const std::vector<uint8_t>& bytes) {
        server.OnData(client.connection, bytes.data(), bytes.size(), now);
    }

    Output output;
    CTableServer server{output};
    uint64_t now = 1000;
    // What the last client to enter received on entering.
    std::vector<std::vector<uint8_t>> entry;
};

TEST_F(TableServerTest, RelaysTableMessagesUnchangedToTheWholeDeskOnly) {
    Client a = Enter(1, 7);
    Client b = Enter(2, 7);
    Client other = Enter(3, 8);
    output.received.clear(); // the announcements of the newcomers
    Send(a, a.Frame(MSG_KEEP_ALIVE, {}));
    const auto move = a.Frame(MSG_TABLE_CHAT, Chat(1001, std::string(20, 'x')));
    // Delivered a byte at a time: the server cuts the stream itself.
    for (uint8_t byte : move)
        server.OnData(1, &byte, 1, now);
    const auto chat = b.Frame(MSG_TABLE_CHAT, Chat(1002, "hi"));
    Send(b, chat);
    for (int connection : {1, 2}) {
        ASSERT_EQ(output.received[connection].size(), 2u) << connection;
        EXPECT_EQ(output.received[connection][0], move);
        EXPECT_EQ(output.received[connection][1], chat);
    }
    EXPECT_TRUE(output.received[3].empty());
    EXPECT_EQ(server.Violations(), 0);
    (void)other;
}

TEST_F(TableServerTest, AMessageSentBeforeTheStartArrivedIsNoViolation) {
    server.OnAccept(1, now);
    Client early{1};
    MSG_ENTER_TABLE_BODY enter;
    const auto body = enter.ToWire();
    Send(early, early.Frame(MSG_ENTER_TABLE, {body.begin(), body.end()}, false));
    Send(early, early.Frame(MSG_TABLE_CHAT_OLD, Chat(0, "x", 0, 0), false)); // still 5588 and 2593
    EXPECT_EQ(server.Violations(), 0);
}

// Every kind of damage to one frame is one violation; the client's later messages are fine.
TEST_F(TableServerTest, EachDamagedFrameCountsOnce) {
    const struct {
        const char* name;
        size_t offset; // from the start of the frame
    } cases[] = {
        {"type", 1}, {"sequence", 11}, {"head digest", 20}, {"body", 33}, {"body digest", 60}};
    int connection = 10;
    for (const auto& c : cases) {
        Client client = Enter(++connection, 1);
        const int before = server.Violations();
        auto bytes = client.Frame(MSG_TABLE_CHAT, Chat(1000 + client.connection, "chat"));
        bytes[c.offset] ^= 0x01;
        Send(client, bytes);
        EXPECT_EQ(server.Violations(), before + 1) << c.name;
        EXPECT_TRUE(output.received[connection].empty()) << c.name << " was relayed";
        Send(client, client.Frame(MSG_TABLE_CHAT, Chat(1000 + client.connection, "chat")));
        EXPECT_EQ(server.Violations(), before + 1) << c.name << " threw the next message off";
        EXPECT_EQ(output.received[connection].size(), 1u) << c.name;
        server.OnClosed(connection);
    }
}

TEST_F(TableServerTest, ASkippedNumberIsOneViolationAndTheCountFollowsTheClient) {
    Client a = Enter(1, 1);
    ++a.sequence;
    Send(a, a.Frame(MSG_KEEP_ALIVE, {}));
    Send(a, a.Frame(MSG_KEEP_ALIVE, {}));
    EXPECT_EQ(server.Violations(), 1);
    ASSERT_FALSE(output.lines.empty());
    EXPECT_NE(output.lines.back().find("violation client 1 type=3011"), std::string::npos)
        << output.lines.back();
}

TEST_F(TableServerTest, AHeaderAnnouncingTooMuchDropsTheClient) {
    Client a = Enter(1, 1);
    MSG_HEAD head;
    head.type = MSG_MOVE;
    head.length = 65537;
    const auto wire = head.Encode(a.sequence + 1);
    server.OnData(1, wire.data(), wire.size(), now);
    EXPECT_EQ(output.closed.count(1), 1u);
    EXPECT_EQ(server.ClientCount(), 0u);
    EXPECT_EQ(server.Violations(), 1);
}

// Only whole messages are signs of life: a client that completes none for 120 s is dropped,
// however many bytes of an unfinished one it trickles in meanwhile.
TEST_F(TableServerTest, DropsAClientThatCompletesNoMessageFor120Seconds) {
    Client a = Enter(1, 1);
    Client b = Enter(2, 1);
    Client c = Enter(3, 1);
    const auto trickled = c.Frame(MSG_TABLE_CHAT, std::vector<uint8_t>(200, 'x'));
    for (int second = 1; second <= 120; ++second) {
        now += 1000;
        if (second == 60)
            Send(b, b.Frame(MSG_KEEP_ALIVE, {}));
        server.OnData(3, &trickled[second - 1], 1, now);
        server.OnTick(now);
        if (second < 120) {
            ASSERT_TRUE(output.closed.empty()) << second;
        }
    }
    EXPECT_EQ(output.closed, (std::set<int>{1, 3}));
    EXPECT_EQ(server.ClientCount(), 1u);
    (void)a;
}

// The other bounds, each at a small value: connections in all (the next one is refused before
// it is a client), clients at a desk (the next entry is turned away) and violations of one
// client (dropped at the last one). None of it is a violation of anyone else.
TEST_F(TableServerTest, BoundsConnectionsDesksAndViolations) {
    CTableServer::Limits limits;
    limits.connections = 4;
    limits.perDesk = 2;
    limits.violations = 3;
    server.SetLimits(limits);
    Client a = Enter(1, 1);
    Enter(2, 1);
    server.OnAccept(3, now);
    MSG_ENTER_TABLE_BODY enter;
    enter.deskno = 1;
    const auto body = enter.ToWire();
    Client third{3};
    Send(third, third.Frame(MSG_ENTER_TABLE, {body.begin(), body.end()}, false));
    EXPECT_EQ(output.closed, std::set<int>{3}) << "desk 1 is full";
    EXPECT_TRUE(output.received[3].empty());
    Enter(4, 2);
    EXPECT_TRUE(server.OnAccept(5, now));
    EXPECT_FALSE(server.OnAccept(6, now)) << "four connections already";
    EXPECT_EQ(server.ClientCount(), 4u);
    EXPECT_EQ(server.Violations(), 0);

    for (int i = 1; i <= 3; ++i) {
        Send(a, a.Frame(MSG_SCORES, std::vector<uint8_t>(40, 0)));
        EXPECT_EQ(output.closed.count(1), i == 3 ? 1u : 0u) << i;
    }
    EXPECT_EQ(server.Violations(), 3);
    EXPECT_TRUE(server.OnAccept(6, now)) << "room again";
}

// A quiet table gets a sign of life: every client sent nothing for 20 s gets an empty 3011,
// and whatever else it is sent puts its next one off.
TEST_F(TableServerTest, SendsAKeepAliveToClientsSentNothingFor20Seconds) {
    Client a = Enter(1, 1);
    Client b = Enter(2, 1);
    Enter(3, 2);
    output.received.clear();
    auto keepAlives = [&](int connection) {
        size_t count = 0;
        for (const auto& frame : output.received[connection]) {
            const MSG_HEAD head = MSG_HEAD::Decode(frame.data());
            EXPECT_EQ(head.type, MSG_KEEP_ALIVE);
            EXPECT_EQ(head.length, 0u);
            EXPECT_EQ(frame.size(), MSG_HEAD::SIZE);
            EXPECT_TRUE(MSG_HEAD::Check(frame.data()));
            ++count;
        }
        output.received[connection].clear();
        return count;
    };
    now += CTableServer::KEEP_ALIVE_MS - 1;
    server.OnTick(now);
    for (int connection : {1, 2, 3})
        EXPECT_EQ(keepAlives(connection), 0u) << connection;
    server.OnTick(++now);
    for (int connection : {1, 2, 3})
        EXPECT_EQ(keepAlives(connection), 1u) << connection;

    now += 10000;
    Send(a, a.Frame(MSG_TABLE_CHAT, Chat(1001, "hi"))); // relayed to desk 1
    output.received[1].clear();
    output.received[2].clear();
    Send(b, b.Frame(MSG_KEEP_ALIVE, {})); // a sign of life, but nothing is sent back
    now += 10000;
    server.OnTick(now);
    EXPECT_EQ(keepAlives(1), 0u);
    EXPECT_EQ(keepAlives(3), 1u) << "the other desk heard nothing";
    now += 10000;
    server.OnTick(now);
    EXPECT_EQ(keepAlives(1), 1u);
    EXPECT_EQ(keepAlives(2), 1u);
    EXPECT_EQ(server.Violations(), 0);
}

// The types of the frames a connection was sent, in order.
std::vector<uint16_t> Types(const std::vector<std::vector<uint8_t>>& frames) {
    std::vector<uint16_t> types;
    for (const auto& f : frames)
        types.push_back(MSG_HEAD::Decode(f.data()).type);
    return types;
}

// A knight's move in coordinate squares (x*100 + y, rank 8 at y = 0).
std::vector<uint8_t> Knight(uint16_t colour, uint32_t from, uint32_t to) {
    MSG_MOVE_BODY step;
    step.colour = colour;
    step.kind = 5;
    step.from = from;
    step.to = to;
    const auto wire = step.ToWire();
    return {wire.begin(), wire.end()};
}

// Two players at a desk: the start information, the start of play once both pressed start,
// a watcher who enters during the game and gets its moves, the server's draw by repetition,
// the scores and, later, the next game.
TEST_F(TableServerTest, RunsTheGameOfADesk) {
    server.SetTimeSettings({900, 20, 5});
    Client a = Enter(1, 5, 0, 0xFFFF);
    EXPECT_EQ(Types(entry), (std::vector<uint16_t>{MSG_SEQUENCE_START, MSG_TABLE_PERSONS}));
    Client b = Enter(2, 5, 1, 0xFFFF);
    EXPECT_EQ(Types(entry), (std::vector<uint16_t>{MSG_SEQUENCE_START, MSG_TABLE_PERSONS,
                                                   MSG_START_INFO, MSG_TABLE_UNLOCK}));
    EXPECT_EQ(MSG_HEAD::Decode(entry[1].data()).length, 2 * CPersonRecord::SIZE);
    ASSERT_EQ(Types(output.received[1]),
              (std::vector<uint16_t>{MSG_USER_ENTER, MSG_START_INFO, MSG_TABLE_UNLOCK}));
    const PERSON newcomer = CPersonRecord::FromWire(output.received[1][0].data() + MSG_HEAD::SIZE);
    EXPECT_EQ(newcomer.id, 1002u);
    EXPECT_EQ(newcomer.seatno, 1);
    EXPECT_EQ(newcomer.status, 4);
    MSG_START_INFO_BODY info;
    ASSERT_TRUE(
        MSG_START_INFO_BODY::FromWire(output.received[1][1].data() + MSG_HEAD::SIZE, 18, info));
    EXPECT_EQ(info.firstSeat, 0);
    EXPECT_EQ(info.paceTime, 20);
    output.received.clear();

    Send(a, a.Frame(MSG_START_NOTICE, {0, 0, 0, 1}));
    EXPECT_EQ(Types(output.received[2]), std::vector<uint16_t>{MSG_START_NOTICE});
    Send(b, b.Frame(MSG_START_NOTICE, {0, 1, 0, 1}));
    EXPECT_EQ(Types(output.received[2]), (std::vector<uint16_t>{MSG_START_NOTICE, MSG_START_NOTICE,
                                                                MSG_GAME_BEGIN, MSG_TABLE_UNLOCK}));

    // Knights out and back: the start position for the second time.
    const std::vector<uint8_t> out[] = {Knight(0, 607, 505), Knight(1, 600, 502)};
    const std::vector<uint8_t> back[] = {Knight(0, 505, 607), Knight(1, 502, 600)};
    for (int i = 0; i < 2; ++i) {
        Send(i == 0 ? a : b, (i == 0 ? a : b).Frame(MSG_MOVE, out[i]));
    }
    for (int i = 0; i < 2; ++i) {
        Send(i == 0 ? a : b, (i == 0 ? a : b).Frame(MSG_MOVE, back[i]));
    }
    // A move from an empty square is refused.
    Send(a, a.Frame(MSG_MOVE, Knight(0, 404, 303)));
    EXPECT_EQ(server.Violations(), 1);

    now += 7500;
    Enter(3, 5);
    ASSERT_EQ(Types(entry), (std::vector<uint16_t>{MSG_SEQUENCE_START, MSG_TABLE_PERSONS,
                                                   MSG_GAME_STATE, MSG_TABLE_UNLOCK}));
    const auto& state = entry[2];
    EXPECT_EQ(MSG_HEAD::Decode(state.data()).length, 28u) << "the head's length covers the head";
    ASSERT_EQ(state.size(), MSG_HEAD::SIZE + 28 + 4 * 20);
    const auto head = MSG_GAME_STATE_BODY::FromWire(state.data() + MSG_HEAD::SIZE);
    EXPECT_EQ(head.fields[3], 900);
    EXPECT_EQ(head.fields[12], 7) << "seconds the move in progress has run";
    EXPECT_EQ(head.RecordCount(), 4);
    EXPECT_TRUE(std::equal(back[1].begin(), back[1].end(), state.end() - 20));
    output.received.clear();

    for (int i = 0; i < 2; ++i) {
        Send(i == 0 ? a : b, (i == 0 ? a : b).Frame(MSG_MOVE, out[i]));
    }
    Send(a, a.Frame(MSG_MOVE, back[0]));
    EXPECT_EQ(Types(output.received[3]).size(), 3u) << "no draw before the third time";
    Send(b, b.Frame(MSG_MOVE, back[1]));
    ASSERT_EQ(Types(output.received[3]),
              (std::vector<uint16_t>{MSG_MOVE, MSG_MOVE, MSG_MOVE, MSG_MOVE, MSG_GAME_RESULT,
                                     MSG_SCORES}));
    const auto draw = MSG_GAME_RESULT_BODY::FromWire(output.received[3][4].data() + MSG_HEAD::SIZE);
    EXPECT_EQ(draw.decisive, 0);
    EXPECT_EQ(draw.reason, CTableServer::DRAW_REPETITION);
    // A result after the end is refused and changes nothing.
    Send(a, a.Frame(MSG_GAME_RESULT, {0, 0, 0, 1, 0, 0, 0x02, 0x8B}));
    EXPECT_EQ(Types(output.received[3]).back(), MSG_SCORES);
    EXPECT_EQ(server.Violations(), 2);
    output.received.clear();

    now += CTableServer::NEXT_GAME_DELAY_MS - 1;
    server.OnTick(now);
    EXPECT_TRUE(output.received[1].empty());
    server.OnTick(++now);
    EXPECT_EQ(Types(output.received[1]),
              (std::vector<uint16_t>{MSG_NEW_GAME, MSG_START_INFO, MSG_TABLE_UNLOCK}));

    // The next game ends with a player's resignation: ten points to the winner.
    Send(a, a.Frame(MSG_START_NOTICE, {0, 0, 0, 1}));
    Send(b, b.Frame(MSG_START_NOTICE, {0, 1, 0, 1}));
    output.received.clear();
    Send(a, a.Frame(MSG_GAME_RESULT, {0, 0, 0, 1, 0, 1, 0, 8}));
    ASSERT_EQ(Types(output.received[1]), (std::vector<uint16_t>{MSG_GAME_RESULT, MSG_SCORES}));
    const std::vector<uint8_t>& frame = output.received[1][1];
    MSG_SCORES_BODY scores;
    ASSERT_TRUE(MSG_SCORES_BODY::FromWire(frame.data() + MSG_HEAD::SIZE,
                                          frame.size() - MSG_HEAD::SIZE, scores));
    EXPECT_EQ(scores.points, (std::array<int32_t, 2>{-10, 10}));
    EXPECT_EQ(scores.won[1], 1) << "games won by seat 1";
    EXPECT_EQ(scores.drawn[0], 1) << "the draw before";
    EXPECT_EQ(server.Violations(), 2);
}

// The server is the authority of its desks: before every move of a Fool's mate, the watcher and
// the player not to move forge a move, a mate, scores, start information, a game state and the
// server's other messages, and the player to move tries an illegal move. Each is one violation
// and reaches nobody; the real game still ends in mate, and the other player's matching result
// is no violation.
TEST_F(TableServerTest, RefusesForgedMessagesAndStillEndsTheRealGame) {
    Client white = Enter(1, 5, 0, 0xFFFF);
    Client black = Enter(2, 5, 1, 0xFFFF);
    Client watcher = Enter(3, 5);
    Send(white, white.Frame(MSG_START_NOTICE, {0, 0, 0, 1}));
    Send(black, black.Frame(MSG_START_NOTICE, {0, 1, 0, 1}));
    auto step = [](uint16_t colour, PieceKind kind, uint32_t from, uint32_t to) {
        MSG_MOVE_BODY body;
        body.colour = colour;
        body.kind = static_cast<uint16_t>(kind);
        body.from = from;
        body.to = to;
        const auto wire = body.ToWire();
        return std::vector<uint8_t>(wire.begin(), wire.end());
    };
    // f3 e5 g4 Qh4#, and for each ply an illegal try of the same piece.
    const struct {
        std::vector<uint8_t> move, illegal;
    } plies[] = {
        {step(0, PieceKind::Pawn, 506, 505), step(0, PieceKind::Pawn, 506, 503)},
        // A legal pawn step that names a queen.
        {step(1, PieceKind::Pawn, 401, 403), step(1, PieceKind::Queen, 401, 402)},
        {step(0, PieceKind::Pawn, 606, 604), step(0, PieceKind::Pawn, 606, 505)},
        {step(1, PieceKind::Queen, 300, 704), step(1, PieceKind::Queen, 300, 403)},
    };
    const auto mate = [](uint8_t seat) {
        return std::vector<uint8_t>{0, seat, 0, 1, 0, seat, 0x02, 0x8B};
    };
    output.received.clear();
    int violations = 0;
    for (size_t ply = 0; ply < 4; ++ply) {
        Client& mover = ply % 2 == 0 ? white : black;
        Client& idle = ply % 2 == 0 ? black : white;
        for (Client* forger : {&watcher, &idle}) {
            const struct {
                uint16_t type;
                std::vector<uint8_t> body;
            } forgeries[] = {
                {MSG_MOVE, plies[ply].move},
                {MSG_GAME_RESULT, mate(forger == &idle ? ply % 2 == 0 : ply % 2)},
                {MSG_SCORES, std::vector<uint8_t>(40, 0)},
                {MSG_START_INFO, std::vector<uint8_t>(18, 0)},
                {MSG_GAME_STATE, std::vector<uint8_t>(28 + 20, 1)},
                {MSG_NEW_GAME, {}},
                {MSG_GAME_BEGIN, {0, 1, 0, 0}},
                {MSG_TABLE_UNLOCK, {}},
                {MSG_GAME_STATE_MOVES, std::vector<uint8_t>(20, 0)},
            };
            for (const auto& forged : forgeries) {
                Send(*forger, forger->Frame(forged.type, forged.body));
                EXPECT_EQ(server.Violations(), ++violations)
                    << forged.type << " from " << (forger == &idle ? "the player" : "the watcher")
                    << " at ply " << ply;
            }
        }
        Send(mover, mover.Frame(MSG_MOVE, plies[ply].illegal));
        EXPECT_EQ(server.Violations(), ++violations) << "illegal try at ply " << ply;
        for (int connection : {1, 2, 3})
            EXPECT_TRUE(output.received[connection].empty()) << connection << " at ply " << ply;
        Send(mover, mover.Frame(MSG_MOVE, plies[ply].move));
        for (int connection : {1, 2, 3}) {
            EXPECT_EQ(Types(output.received[connection]), std::vector<uint16_t>{MSG_MOVE});
            output.received[connection].clear();
        }
    }
    // The watcher may still chat.
    Send(watcher, watcher.Frame(MSG_TABLE_CHAT, Chat(1000 + watcher.connection, "gg")));
    EXPECT_EQ(Types(output.received[1]), std::vector<uint16_t>{MSG_TABLE_CHAT});
    output.received.clear();

    Send(black, black.Frame(MSG_GAME_RESULT, mate(1)));
    ASSERT_EQ(Types(output.received[1]), (std::vector<uint16_t>{MSG_GAME_RESULT, MSG_SCORES}));
    MSG_SCORES_BODY scores;
    ASSERT_TRUE(
        MSG_SCORES_BODY::FromWire(output.received[1][1].data() + MSG_HEAD::SIZE, 40, scores));
    EXPECT_EQ(scores.points, (std::array<int32_t, 2>{-10, 10}));
    Send(white, white.Frame(MSG_GAME_RESULT, mate(1)));
    EXPECT_EQ(server.Violations(), violations) << "the other player's matching result";
    EXPECT_EQ(Types(output.received[2]),
              (std::vector<uint16_t>{MSG_GAME_RESULT, MSG_SCORES, MSG_GAME_RESULT}));
    // Once only, and never a different one.
    Send(white, white.Frame(MSG_GAME_RESULT, mate(1)));
    Send(black, black.Frame(MSG_GAME_RESULT, mate(0)));
    EXPECT_EQ(server.Violations(), violations + 2);
    EXPECT_EQ(Types(output.received[2]).size(), 3u);
}

// A pawn reaching the last row must name its promotion piece, and only there.
TEST_F(TableServerTest, APromotionNamesItsPiece) {
    Client white = Enter(1, 5, 0, 0xFFFF);
    Client black = Enter(2, 5, 1, 0xFFFF);
    Send(white, white.Frame(MSG_START_NOTICE, {0, 0, 0, 1}));
    Send(black, black.Frame(MSG_START_NOTICE, {0, 1, 0, 1}));
    // A step to a square one column over is a pawn's capture.
    auto step = [](uint16_t colour, PieceKind kind, uint32_t from, uint32_t to,
                   uint8_t special = 0) {
        MSG_MOVE_BODY body;
        body.colour = colour;
        body.kind = static_cast<uint16_t>(kind);
        body.from = from;
        body.to = to;
        const bool capture = kind == PieceKind::Pawn && from / 100 != to / 100;
        body.specialFlags = static_cast<uint16_t>(special << 8 | (capture ? FLAG_CAPTURE : 0));
        const auto wire = body.ToWire();
        return std::vector<uint8_t>(wire.begin(), wire.end());
    };
    // h4 g5 hxg5 h6 gxh6 Nf6 h7 Rg8, a pawn that names a queen on the way refused.
    const std::vector<uint8_t> line[] = {
        step(0, PieceKind::Pawn, 706, 704), step(1, PieceKind::Pawn, 601, 603),
        step(0, PieceKind::Pawn, 704, 603), step(1, PieceKind::Pawn, 701, 702),
        step(0, PieceKind::Pawn, 603, 702), step(1, PieceKind::Knight, 600, 502),
        step(0, PieceKind::Pawn, 702, 701), step(1, PieceKind::Rook, 700, 600),
    };
    for (size_t i = 0; i < std::size(line); ++i) {
        Client& mover = i % 2 == 0 ? white : black;
        if (i == 6)
            Send(mover, mover.Frame(MSG_MOVE, step(0, PieceKind::Pawn, 702, 701, 1)));
        Send(mover, mover.Frame(MSG_MOVE, line[i]));
    }
    ASSERT_EQ(server.Violations(), 1) << ::testing::PrintToString(output.lines);
    for (uint8_t special : {0, 5}) {
        Send(white, white.Frame(MSG_MOVE, step(0, PieceKind::Pawn, 701, 600, special)));
        EXPECT_EQ(server.Violations(), 2 + (special != 0)) << int(special);
    }
    output.received.clear();
    Send(white, white.Frame(MSG_MOVE, step(0, PieceKind::Pawn, 701, 600, 1)));
    EXPECT_EQ(Types(output.received[2]), std::vector<uint16_t>{MSG_MOVE});
    EXPECT_EQ(server.Violations(), 3);
}

// An agreed colour exchange makes the seat it names the desk's first seat: the start of play,
// the game state of a later entrant and the next game's start information all name it.
TEST_F(TableServerTest, AnAgreedExchangeMovesTheFirstSeat) {
    Client a = Enter(1, 5, 0, 0xFFFF);
    Client b = Enter(2, 5, 1, 0xFFFF);
    auto exchange = [&](uint16_t agree) {
        const auto body = MSG_EXCHANGE_ANSWER_BODY{1, agree, 1}.ToWire();
        const auto frame = b.Frame(MSG_EXCHANGE_ANSWER, {body.begin(), body.end()});
        Send(b, frame);
        EXPECT_EQ(output.received[1].back(), frame) << "relayed unchanged";
    };
    exchange(0); // refused: nothing changes
    exchange(1);
    exchange(0); // a later refusal does not undo it
    Send(a, a.Frame(MSG_START_NOTICE, {0, 0, 0, 1}));
    Send(b, b.Frame(MSG_START_NOTICE, {0, 1, 0, 1}));
    const auto& begin = output.received[1][output.received[1].size() - 2];
    ASSERT_EQ(MSG_HEAD::Decode(begin.data()).type, MSG_GAME_BEGIN);
    MSG_SEAT_FLAG_BODY first;
    ASSERT_TRUE(MSG_SEAT_FLAG_BODY::FromWire(begin.data() + MSG_HEAD::SIZE, 4, first));
    EXPECT_EQ(first.seat, 1);

    Enter(3, 5);
    ASSERT_EQ(MSG_HEAD::Decode(entry[2].data()).type, MSG_GAME_STATE);
    EXPECT_EQ(MSG_GAME_STATE_BODY::FromWire(entry[2].data() + MSG_HEAD::SIZE).fields[1], 1);

    // During the game a request (616: seat 0, the seat after it) and an agreement (617: seat 0,
    // agree 1, first seat 0) are violations and go nowhere; a refusal (seat 1, agree 0) still
    // answers a request. The next game starts from seat 1 too.
    output.received.clear();
    Send(a, a.Frame(MSG_EXCHANGE_REQUEST, {0, 0, 0, 1}));
    Send(a, a.Frame(MSG_EXCHANGE_ANSWER, {0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(server.Violations(), 2);
    EXPECT_TRUE(output.received[2].empty()) << "nothing of them relayed";
    Send(b, b.Frame(MSG_EXCHANGE_ANSWER, {0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(Types(output.received[1]), std::vector<uint16_t>{MSG_EXCHANGE_ANSWER});
    Send(b, b.Frame(MSG_GAME_RESULT, {0, 1, 0, 1, 0, 0, 0, 8})); // b resigns
    output.received.clear();
    now += CTableServer::NEXT_GAME_DELAY_MS;
    server.OnTick(now);
    ASSERT_EQ(Types(output.received[1]),
              (std::vector<uint16_t>{MSG_NEW_GAME, MSG_START_INFO, MSG_TABLE_UNLOCK}));
    MSG_START_INFO_BODY info;
    ASSERT_TRUE(
        MSG_START_INFO_BODY::FromWire(output.received[1][1].data() + MSG_HEAD::SIZE, 18, info));
    EXPECT_EQ(info.firstSeat, 1);
    EXPECT_EQ(server.Violations(), 2);
}

// A client that asks for a seat someone else holds is made a watcher, and its own status (3002:
// its id, 0 and 0) tells it so, to it alone; the players see it come in as a watcher.
TEST_F(TableServerTest, ANewcomerToATakenSeatIsToldItWatches) {
    Enter(1, 5, 0, 0xFFFF);
    Enter(2, 5, 1, 0xFFFF);
    output.received.clear();
    Enter(3, 5, 0, 0xFFFF); // id 1003, asking for White's seat
    ASSERT_EQ(Types(entry),
              (std::vector<uint16_t>{MSG_SEQUENCE_START, MSG_TABLE_PERSONS, MSG_USER_STATUS}));
    EXPECT_EQ(std::vector<uint8_t>(entry[2].begin() + MSG_HEAD::SIZE, entry[2].end()),
              (std::vector<uint8_t>{0, 0, 0x03, 0xEB, 0, 0, 0, 0}));
    for (int player : {1, 2}) {
        ASSERT_EQ(Types(output.received[player]), std::vector<uint16_t>{MSG_USER_ENTER});
        EXPECT_EQ(
            CPersonRecord::FromWire(output.received[player][0].data() + MSG_HEAD::SIZE).status, 5);
    }
    // A watcher that asked to watch, and a player on a free seat, are told nothing of the kind.
    Enter(4, 5);
    EXPECT_EQ(Types(entry), (std::vector<uint16_t>{MSG_SEQUENCE_START, MSG_TABLE_PERSONS}));
    Enter(5, 6, 1, 0xFFFF);
    EXPECT_EQ(Types(entry), (std::vector<uint16_t>{MSG_SEQUENCE_START, MSG_TABLE_PERSONS}));
}

// The negotiations the desk takes part in: an agreed take-back leaves the kept moves two
// short (a newcomer replays the rest), an agreed draw ends the game with no points.
TEST_F(TableServerTest, AgreedTakeBackAndDrawChangeTheDesksGame) {
    Client a = Enter(1, 5, 0, 0xFFFF);
    Client b = Enter(2, 5, 1, 0xFFFF);
    Send(a, a.Frame(MSG_START_NOTICE, {0, 0, 0, 1}));
    Send(b, b.Frame(MSG_START_NOTICE, {0, 1, 0, 1}));
    Send(a, a.Frame(MSG_MOVE, Knight(0, 607, 505)));
    Send(b, b.Frame(MSG_MOVE, Knight(1, 600, 502)));
    Send(a, a.Frame(MSG_MOVE, Knight(0, 107, 205)));
    Send(b, b.Frame(MSG_TAKEBACK_ANSWER, {0, 0, 0, 1, 0, 1, 0, 0})); // refused: kept
    Send(b, b.Frame(MSG_TAKEBACK_ANSWER, {0, 0, 0, 1, 0, 1, 0, 1}));
    Enter(3, 5);
    ASSERT_EQ(MSG_HEAD::Decode(entry[2].data()).type, MSG_GAME_STATE);
    EXPECT_EQ(MSG_GAME_STATE_BODY::FromWire(entry[2].data() + MSG_HEAD::SIZE).RecordCount(), 1);
    // The position went back too: Black's knight is on g8 again and may go to f6 once more.
    Send(b, b.Frame(MSG_MOVE, Knight(1, 600, 502)));
    Enter(4, 5, 0xFFFF, 1);
    EXPECT_EQ(MSG_GAME_STATE_BODY::FromWire(entry[2].data() + MSG_HEAD::SIZE).RecordCount(), 2);
    output.received.clear();

    Send(a, a.Frame(MSG_DRAW_ANSWER, {0, 0, 0, 3, 0, 0}));
    EXPECT_EQ(Types(output.received[1]), std::vector<uint16_t>{MSG_DRAW_ANSWER});
    Send(a, a.Frame(MSG_DRAW_ANSWER, {0, 0, 0, 3, 0, 1}));
    ASSERT_EQ(Types(output.received[1]),
              (std::vector<uint16_t>{MSG_DRAW_ANSWER, MSG_DRAW_ANSWER, MSG_SCORES}));
    MSG_SCORES_BODY scores;
    ASSERT_TRUE(
        MSG_SCORES_BODY::FromWire(output.received[1][2].data() + MSG_HEAD::SIZE, 40, scores));
    EXPECT_EQ(scores.points, (std::array<int32_t, 2>{0, 0}));
    EXPECT_EQ(scores.drawn, (std::array<int32_t, 2>{1, 1}));
    EXPECT_EQ(server.Violations(), 0);
}

// The opponent's answer to a request to leave: a refusal is told to the requester (3033 with
// its id); consent lets it go, and the desk learns that it left (3026 with its id).
TEST_F(TableServerTest, TheAnswerToALeaveRequest) {
    for (uint16_t refused : {1, 0}) {
        output.received.clear();
        const uint16_t desk = static_cast<uint16_t>(5 + refused);
        const int first = 10 * (refused + 1);
        Client a = Enter(first, desk, 0, 0xFFFF);
        Client b = Enter(first + 1, desk, 1, 0xFFFF);
        Send(a, a.Frame(MSG_START_NOTICE, {0, 0, 0, 1}));
        Send(b, b.Frame(MSG_START_NOTICE, {0, 1, 0, 1}));
        output.received.clear();
        const auto request = a.Frame(MSG_EXIT_REQUEST, {0, 0, 0x03, 0xF2, 0, 0, 0, 1});
        Send(a, request);
        EXPECT_EQ(output.received[first + 1].back(), request) << "relayed";
        MSG_EXIT_ANSWER_BODY answer;
        answer.answererId = 1000 + first + 1;
        answer.answererSeat = 1;
        answer.requesterId = 1000 + first;
        answer.requesterSeat = 0;
        answer.refused = refused;
        const auto body = answer.ToWire();
        Send(b, b.Frame(MSG_EXIT_ANSWER, {body.begin(), body.end()}));
        const auto& told = output.received[first];
        ASSERT_EQ(Types(told),
                  (std::vector<uint16_t>{MSG_EXIT_REQUEST, MSG_EXIT_ANSWER,
                                         refused ? MSG_EXIT_DISCOURAGE : MSG_LEAVE_TABLE}));
        if (refused) {
            MSG_EXIT_DISCOURAGE_BODY discourage;
            ASSERT_TRUE(MSG_EXIT_DISCOURAGE_BODY::FromWire(told[2].data() + MSG_HEAD::SIZE, 12,
                                                           discourage));
            EXPECT_EQ(discourage.id, 1000u + first);
        } else {
            MSG_LEAVE_TABLE_BODY leave;
            ASSERT_TRUE(MSG_LEAVE_TABLE_BODY::FromWire(told[2].data() + MSG_HEAD::SIZE, 8, leave));
            EXPECT_EQ(leave.id, 1000u + first);
            EXPECT_EQ(leave.reason, 0);
        }
    }
    EXPECT_EQ(server.Violations(), 0);
}

// A resume request waiting for its answer is handed to whoever enters meanwhile; once refused,
// it is forgotten.
TEST_F(TableServerTest, ANewcomerGetsTheResumeRequestStillOpen) {
    Client a = Enter(1, 5, 0, 0xFFFF);
    Client b = Enter(2, 5, 1, 0xFFFF);
    MSG_RESUME_REQUEST_BODY head;
    head.userIds = {1001, 1002};
    const auto request = head.ToWire();
    Send(a, a.Frame(MSG_RESUME_REQUEST, {request.begin(), request.end()}));
    Enter(3, 5);
    ASSERT_EQ(MSG_HEAD::Decode(entry.back().data()).type, MSG_RESUME_REQUEST);
    EXPECT_TRUE(std::equal(request.begin(), request.end(), entry.back().begin() + MSG_HEAD::SIZE));
    const auto refusal = MSG_RESUME_ANSWER_BODY{1, 0}.ToWire();
    Send(b, b.Frame(MSG_RESUME_ANSWER, {refusal.begin(), refusal.end()}));
    Enter(4, 5);
    for (const auto& frame : entry)
        EXPECT_NE(MSG_HEAD::Decode(frame.data()).type, MSG_RESUME_REQUEST);
    EXPECT_EQ(server.Violations(), 0);
}

// Two players at desk 5 (connections 1 and 2, seats 0 and 1, White at seat 0) with their game
// under way, and a watcher (connection 3).
class DeskGameTest : public TableServerTest {
protected:
    void SetUp() override {
        server.SetTimeSettings({900, 20, 5});
        a = Enter(1, 5, 0, 0xFFFF);
        b = Enter(2, 5, 1, 0xFFFF);
        w = Enter(3, 5);
        Send(a, a.Frame(MSG_START_NOTICE, {0, 0, 0, 1}));
        Send(b, b.Frame(MSG_START_NOTICE, {0, 1, 0, 1}));
        output.received.clear();
    }
    // The bodies of the frames of one type a connection was sent.
    std::vector<std::vector<uint8_t>> Bodies(int connection, uint16_t type) {
        std::vector<std::vector<uint8_t>> bodies;
        for (const auto& f : output.received[connection]) {
            if (MSG_HEAD::Decode(f.data()).type == type)
                bodies.emplace_back(f.begin() + MSG_HEAD::SIZE, f.end());
        }
        return bodies;
    }
    // Whether the violation lines so far include one that ends as given.
    bool Reported(const std::string& end) const {
        return std::any_of(output.lines.begin(), output.lines.end(), [&](const std::string& l) {
            return l.rfind("violation", 0) == 0 && l.size() >= end.size() &&
                   l.compare(l.size() - end.size(), end.size(), end) == 0;
        });
    }
    Client a, b, w;
};

std::vector<uint8_t> Bytes8(uint32_t id, uint16_t second, uint16_t third) {
    return {static_cast<uint8_t>(id >> 24),    static_cast<uint8_t>(id >> 16),
            static_cast<uint8_t>(id >> 8),     static_cast<uint8_t>(id),
            static_cast<uint8_t>(second >> 8), static_cast<uint8_t>(second),
            static_cast<uint8_t>(third >> 8),  static_cast<uint8_t>(third)};
}

// A leave speaks only for its sender: a watcher has no seat to leave, a body naming someone else
// is refused, and an honest leave goes on with the sender's true id and seat.
TEST_F(DeskGameTest, LeavesSpeakOnlyForTheirSender) {
    struct Case {
        const char* name;
        int from;
        uint16_t type;
        std::vector<uint8_t> body;
        // What the desk gets, empty when the leave is a violation.
        std::vector<uint8_t> relayed;
    } cases[] = {
        {"a watcher's 3026 for White", 3, MSG_LEAVE_TABLE, Bytes8(1001, 0, 1), {}},
        {"a watcher's 3026 of its own", 3, MSG_LEAVE_TABLE, Bytes8(1003, 0xFFFF, 0), {}},
        {"Black's 3026 for White", 2, MSG_LEAVE_TABLE, Bytes8(1001, 0, 1), {}},
        {"a watcher's 3027 for White", 3, MSG_LEAVE_WATCH, Bytes8(1001, 0, 0xFFFF), {}},
        {"a player's 3027", 2, MSG_LEAVE_WATCH, Bytes8(1002, 1, 0xFFFF), {}},
        {"a short 3026", 2, MSG_LEAVE_TABLE, {0, 0, 0, 0}, {}},
        // The watcher's leave names nobody yet (its record unknown): the server names it.
        {"a watcher's own 3027",
         3,
         MSG_LEAVE_WATCH,
         {0, 0, 0x03, 0xEB, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0},
         {0, 0, 0x03, 0xEB, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}},
        // A client leaves the id 0.
        {"Black's own 3026", 2, MSG_LEAVE_TABLE, Bytes8(0, 1, 1), Bytes8(1002, 1, 1)},
    };
    Client* clients[] = {nullptr, &a, &b, &w};
    int violations = 0;
    for (const Case& c : cases) {
        output.received.clear();
        Client& from = *clients[c.from];
        Send(from, from.Frame(c.type, c.body));
        const bool refused = c.relayed.empty();
        violations += refused ? 1 : 0;
        EXPECT_EQ(server.Violations(), violations) << c.name;
        for (int connection : {1, 2, 3}) {
            const auto got = Bodies(connection, c.type);
            if (refused) {
                EXPECT_TRUE(got.empty()) << c.name << " reached " << connection;
            } else {
                ASSERT_EQ(got.size(), 1u) << c.name << " at " << connection;
                EXPECT_EQ(std::vector<uint8_t>(got[0].begin(), got[0].begin() + c.relayed.size()),
                          c.relayed)
                    << c.name;
            }
        }
    }
    // Once its leave is out, nothing more is announced for the client when it goes.
    output.received.clear();
    server.OnClosed(3);
    server.OnClosed(2);
    EXPECT_TRUE(output.received[1].empty());
}

// An exit answer (3032) stands only as the opponent's answer to a pending request (3031).
TEST_F(DeskGameTest, AnExitAnswerOnlyAnswersAPendingRequest) {
    const auto agree = [](uint16_t requesterSeat) {
        MSG_EXIT_ANSWER_BODY answer;
        answer.requesterId = 1000 + requesterSeat + 1;
        answer.requesterSeat = requesterSeat;
        answer.refused = 0;
        const auto body = answer.ToWire();
        return std::vector<uint8_t>(body.begin(), body.end());
    };
    Send(a, a.Frame(MSG_EXIT_ANSWER, agree(1))); // nobody asked
    Send(a, a.Frame(MSG_EXIT_REQUEST, Bytes8(0, 0, 0)));
    Send(a, a.Frame(MSG_EXIT_ANSWER, agree(0))); // the requester cannot answer itself
    Send(b, b.Frame(MSG_EXIT_ANSWER, agree(1))); // an answer to a request nobody made
    EXPECT_EQ(server.Violations(), 3);
    EXPECT_TRUE(Bodies(2, MSG_LEAVE_TABLE).empty());
    Send(a, a.Frame(MSG_MOVE, Knight(0, 607, 505))); // the game goes on
    EXPECT_EQ(Bodies(2, MSG_MOVE).size(), 1u);
    Send(b, b.Frame(MSG_EXIT_ANSWER, agree(0)));
    EXPECT_EQ(server.Violations(), 3);
    ASSERT_EQ(Bodies(2, MSG_LEAVE_TABLE).size(), 1u);
    EXPECT_EQ(Bodies(2, MSG_LEAVE_TABLE)[0], Bytes8(1001, 0, 0));
    Send(b, b.Frame(MSG_EXIT_ANSWER, agree(0))); // answered already
    EXPECT_EQ(server.Violations(), 4);
}

// Results the server can check itself: a resignation only from the seat that resigns, a loss on
// time only when the server's clocks show it (time per move 20 s: a client judges it out at
// 21 s, the server's clock may be up to 2 s behind), and the draws by
// rule only from the server.
TEST_F(DeskGameTest, ResultsOnlyWhereTheServerAgrees) {
    struct Case {
        const char* name;
        int from;
        uint64_t after;              // ms into White's first move
        std::vector<uint8_t> result; // sender, decisive, winner, reason
        bool valid;
    } cases[] = {
        {"White says Black resigned", 1, 0, {0, 0, 0, 1, 0, 0, 0, 8}, false},
        {"a draw by repetition", 1, 0, {0, 0, 0, 0, 0xFF, 0xFF, 0, 4}, false},
        {"a draw after 60 quiet moves", 2, 0, {0, 1, 0, 0, 0xFF, 0xFF, 0, 5}, false},
        {"a draw at the move limit", 2, 0, {0, 1, 0, 0, 0xFF, 0xFF, 0, 6}, false},
        {"Black out of time, White to move", 1, 30000, {0, 0, 0, 1, 0, 0, 0, 7}, false},
        {"White out of time after 18 s", 2, 18000, {0, 1, 0, 1, 0, 1, 0, 7}, false},
        {"White out of time after 19 s", 2, 19000, {0, 1, 0, 1, 0, 1, 0, 7}, true},
        {"Black resigns", 2, 0, {0, 1, 0, 1, 0, 0, 0, 8}, true},
    };
    int connection = 10;
    for (const Case& c : cases) {
        output.received.clear();
        // A desk of its own for each case.
        const uint16_t desk = static_cast<uint16_t>(connection);
        Client white = Enter(connection, desk, 0, 0xFFFF);
        Client black = Enter(connection + 1, desk, 1, 0xFFFF);
        Send(white, white.Frame(MSG_START_NOTICE, {0, 0, 0, 1}));
        Send(black, black.Frame(MSG_START_NOTICE, {0, 1, 0, 1}));
        const uint64_t start = now;
        now += c.after;
        const int before = server.Violations();
        Client& from = c.from == 1 ? white : black;
        Send(from, from.Frame(MSG_GAME_RESULT, c.result));
        EXPECT_EQ(server.Violations(), before + (c.valid ? 0 : 1)) << c.name;
        EXPECT_EQ(Bodies(connection, MSG_SCORES).size(), c.valid ? 1u : 0u) << c.name;
        now = start;
        connection += 2;
    }
}

// The server's clock of a side is charged with the whole seconds of its moves less the time
// added: after White's 16 s move (5 s added back) and Black's quick one, White's second move may
// take 20 s, the time per move, not less.
TEST_F(DeskGameTest, TheClocksFollowTheRelayedMoves) {
    server.SetTimeSettings({30, 20, 5});
    Client white = Enter(20, 9, 0, 0xFFFF);
    Client black = Enter(21, 9, 1, 0xFFFF);
    Send(white, white.Frame(MSG_START_NOTICE, {0, 0, 0, 1}));
    Send(black, black.Frame(MSG_START_NOTICE, {0, 1, 0, 1}));
    now += 16000;
    Send(white, white.Frame(MSG_MOVE, Knight(0, 607, 505)));
    now += 1000;
    Send(black, black.Frame(MSG_MOVE, Knight(1, 600, 502)));
    // White has used 11 s of 30: 19 s left, less than the 20 s a move.
    const std::vector<uint8_t> whiteOut = {0, 1, 0, 1, 0, 1, 0, 7};
    now += 17500;
    Send(black, black.Frame(MSG_GAME_RESULT, whiteOut));
    EXPECT_EQ(server.Violations(), 1) << "17 s of 19";
    now += 1000;
    Send(black, black.Frame(MSG_GAME_RESULT, whiteOut));
    EXPECT_EQ(server.Violations(), 1) << "18 s of 19, within the grace";
}

// New clocks while the server runs are for the games to come: players seated between games are
// told them at once (606), a game under way keeps its own for its clocks and its state.
TEST_F(DeskGameTest, NewClocksAreForTheGamesToCome) {
    Client white = Enter(20, 9, 0, 0xFFFF);
    Client black = Enter(21, 9, 1, 0xFFFF);
    output.received.clear();
    server.ChangeTimeSettings({300, 10, 2});
    for (int connection : {20, 21}) {
        ASSERT_EQ(Types(output.received[connection]), std::vector<uint16_t>{MSG_GAME_INFO})
            << connection;
        const auto& frame = output.received[connection][0];
        // White first from seat 0, no take-backs used, 300 s, 10 s a move, 2 s added, at most 3
        // take-backs.
        EXPECT_EQ(std::vector<uint8_t>(frame.begin() + MSG_HEAD::SIZE, frame.end()),
                  (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0x01, 0x2C, 0, 10, 0, 2, 0, 3}));
    }
    for (int connection : {1, 2, 3})
        EXPECT_TRUE(output.received[connection].empty()) << connection;

    // Desk 5 plays on at 900 s and 20 s a move: 15 s into White's move is not a loss on time.
    now += 15000;
    Send(b, b.Frame(MSG_GAME_RESULT, {0, 1, 0, 1, 0, 1, 0, 7}));
    EXPECT_EQ(server.Violations(), 1);
    Enter(4, 5);
    const auto head = MSG_GAME_STATE_BODY::FromWire(entry[2].data() + MSG_HEAD::SIZE);
    EXPECT_EQ(head.fields[3], 900);
    EXPECT_EQ(head.fields[4], 20);

    // Desk 9's game is played with the new clocks.
    Send(white, white.Frame(MSG_START_NOTICE, {0, 0, 0, 1}));
    Send(black, black.Frame(MSG_START_NOTICE, {0, 1, 0, 1}));
    Enter(22, 9);
    const auto nine = MSG_GAME_STATE_BODY::FromWire(entry[2].data() + MSG_HEAD::SIZE);
    EXPECT_EQ(nine.fields[3], 300);
    EXPECT_EQ(nine.fields[4], 10);
    EXPECT_EQ(nine.fields[5], 2);
}

// A player whose connection goes during the game keeps the seat: the desk is told, another id
// cannot take it, the same id takes it back, and when the hold runs out the game is the absent
// player's loss on time.
TEST_F(DeskGameTest, HoldsTheSeatOfAPlayerWhoseConnectionWent) {
    CTableServer::Limits limits;
    limits.seatHoldMs = 60000;
    server.SetLimits(limits);
    server.OnClosed(1);
    ASSERT_EQ(Bodies(2, MSG_USER_BROKEN).size(), 1u);
    EXPECT_EQ(Bodies(2, MSG_USER_BROKEN)[0], Bytes8(1001, 0, 0));
    EXPECT_TRUE(Bodies(2, MSG_LEAVE_TABLE).empty());

    // Another id asks for White's seat: it only watches, and its move goes nowhere.
    Client intruder = Enter(4, 5, 0, 0xFFFF, 666);
    output.received.clear();
    Send(intruder, intruder.Frame(MSG_MOVE, Knight(0, 607, 505)));
    EXPECT_EQ(server.Violations(), 1);
    EXPECT_TRUE(Bodies(2, MSG_MOVE).empty());

    // White comes back within the time and plays on.
    now += 30000;
    server.OnTick(now);
    Client back = Enter(5, 5, 0, 0xFFFF, 1001);
    EXPECT_EQ(Types(entry),
              (std::vector<uint16_t>{MSG_SEQUENCE_START, MSG_TABLE_PERSONS, MSG_USER_STATUS,
                                     MSG_GAME_STATE, MSG_TABLE_UNLOCK}));
    ASSERT_EQ(Bodies(2, MSG_USER_STATUS).size(), 1u);
    EXPECT_EQ(Bodies(2, MSG_USER_STATUS)[0], Bytes8(1001, 0, 1));
    Send(back, back.Frame(MSG_MOVE, Knight(0, 607, 505)));
    EXPECT_EQ(Bodies(2, MSG_MOVE).size(), 1u);
    EXPECT_EQ(server.Violations(), 1);

    // Black goes and does not come back: when the time is out Black loses on time, the scores
    // follow, and only then 3026 with reason 2 gives the seat up.
    server.OnClosed(2);
    output.received.clear();
    now += 59999;
    server.OnTick(now);
    EXPECT_TRUE(Bodies(5, MSG_LEAVE_TABLE).empty());
    EXPECT_TRUE(Bodies(5, MSG_GAME_RESULT).empty());
    now += 1;
    server.OnTick(now);
    for (int connection : {3, 5}) {
        std::vector<uint16_t> ends;
        for (uint16_t type : Types(output.received[connection]))
            if (type == MSG_GAME_RESULT || type == MSG_SCORES || type == MSG_LEAVE_TABLE)
                ends.push_back(type);
        EXPECT_EQ(ends, (std::vector<uint16_t>{MSG_GAME_RESULT, MSG_SCORES, MSG_LEAVE_TABLE}))
            << "at connection " << connection;
    }
    // Nobody's seat sent it; decisive, White (seat 0) wins, reason 7.
    ASSERT_EQ(Bodies(5, MSG_GAME_RESULT).size(), 1u);
    EXPECT_EQ(Bodies(5, MSG_GAME_RESULT)[0],
              (std::vector<uint8_t>{0xFF, 0xFF, 0x00, 0x01, 0x00, 0x00, 0x00, 0x07}));
    // This game's points: +10 for White, -10 for Black.
    ASSERT_EQ(Bodies(5, MSG_SCORES).size(), 1u);
    const std::vector<uint8_t> scores = Bodies(5, MSG_SCORES)[0];
    ASSERT_GE(scores.size(), 8u);
    EXPECT_EQ(std::vector<uint8_t>(scores.begin(), scores.begin() + 8),
              (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x0A, 0xFF, 0xFF, 0xFF, 0xF6}));
    ASSERT_EQ(Bodies(5, MSG_LEAVE_TABLE).size(), 1u);
    EXPECT_EQ(Bodies(5, MSG_LEAVE_TABLE)[0], Bytes8(1002, 1, 2));
    Send(back, back.Frame(MSG_MOVE, Knight(0, 505, 607)));
    EXPECT_EQ(server.Violations(), 2) << "a move with no game under way";
}

// A second entry with an id that is connected takes over: the old connection is told (3004) and
// closed, and the new one holds the seat.
TEST_F(DeskGameTest, ASecondEntryOfAConnectedIdTakesOver) {
    Client again = Enter(6, 5, 0, 0xFFFF, 1001);
    EXPECT_EQ(Types(output.received[1]), std::vector<uint16_t>{MSG_LOGIN_ELSEWHERE});
    EXPECT_EQ(output.closed, std::set<int>{1});
    EXPECT_TRUE(Bodies(2, MSG_LEAVE_TABLE).empty()) << "no departure of the old connection";
    Send(again, again.Frame(MSG_MOVE, Knight(0, 607, 505)));
    EXPECT_EQ(Bodies(2, MSG_MOVE).size(), 1u);
    EXPECT_EQ(server.Violations(), 0);
}

// Whoever goes is announced to the rest of the desk: a watcher with its 3027, a player outside a
// game with its 3026.
TEST_F(TableServerTest, DeparturesAreAnnounced) {
    Enter(1, 5, 0, 0xFFFF);
    Enter(2, 5, 1, 0xFFFF);
    Enter(3, 5, 0xFFFF, 4);
    output.received.clear();
    server.OnClosed(3);
    ASSERT_EQ(Types(output.received[1]), std::vector<uint16_t>{MSG_LEAVE_WATCH});
    EXPECT_EQ(std::vector<uint8_t>(output.received[1][0].begin() + MSG_HEAD::SIZE,
                                   output.received[1][0].end()),
              (std::vector<uint8_t>{0, 0, 0x03, 0xEB, 0xFF, 0xFF, 0, 4, 0, 0, 0, 0}));
    server.Drop(2, "test");
    ASSERT_EQ(Types(output.received[1]), (std::vector<uint16_t>{MSG_LEAVE_WATCH, MSG_LEAVE_TABLE}));
    EXPECT_EQ(std::vector<uint8_t>(output.received[1][1].begin() + MSG_HEAD::SIZE,
                                   output.received[1][1].end()),
              (std::vector<uint8_t>{0, 0, 0x03, 0xEA, 0, 1, 0, 2}));
}

// Connection slots: a connection that does not enter within the limit is closed, one address
// holds at most its share, and an entered client that only keeps alive stays.
TEST_F(TableServerTest, ConnectionSlotsGoToClientsThatEnter) {
    CTableServer::Limits limits;
    limits.perAddress = 2;
    limits.idleMs = 60000;
    server.SetLimits(limits);
    const uint32_t second = 0x7F000002;
    EXPECT_TRUE(server.OnAccept(1, now, second));
    EXPECT_TRUE(server.OnAccept(2, now, second));
    EXPECT_FALSE(server.OnAccept(3, now, second));
    EXPECT_TRUE(server.OnAccept(4, now)); // another address
    Client keeper = Enter(5, 1);
    output.closed.clear();
    for (int second = 1; second <= 30; ++second) {
        now += 1000;
        if (second % 5 == 0)
            Send(keeper, keeper.Frame(MSG_KEEP_ALIVE, {}));
        server.OnTick(now);
        if (second < 10) {
            ASSERT_TRUE(output.closed.empty()) << second;
        }
    }
    EXPECT_EQ(output.closed, (std::set<int>{1, 2, 4}));
    EXPECT_EQ(server.ClientCount(), 1u);
    EXPECT_TRUE(server.OnAccept(6, now, second)) << "the address has its slots again";
    EXPECT_EQ(server.Violations(), 0);
}

// Chat speaks for its sender: the head names the sender whatever it said, a long line is cut on
// a character and ended, a line without text is a violation and lines beyond five a second are
// dropped.
TEST_F(DeskGameTest, ChatSpeaksForItsSender) {
    // The watcher (id 1003, watch number 0) claims to be White.
    Send(w, w.Frame(MSG_TABLE_CHAT, Chat(1001, "I resign", 0, 0xFFFF)));
    auto got = Bodies(1, MSG_TABLE_CHAT);
    ASSERT_EQ(got.size(), 1u);
    // Relayed in the client frame form, the 17-byte body digest after the body.
    ASSERT_GT(got[0].size(), 17u);
    EXPECT_EQ(std::vector<uint8_t>(got[0].begin(), got[0].end() - 17), Chat(1003, "I resign"));

    // 250 two-byte characters: cut to 200 of them, 400 bytes, and a zero.
    std::string line;
    for (int i = 0; i < 250; ++i)
        line += "\xc6\xe5";
    output.received.clear();
    now += 1000;
    Send(a, a.Frame(MSG_TABLE_CHAT, Chat(1001, "x" + line, 0, 0xFFFF)));
    got = Bodies(2, MSG_TABLE_CHAT);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(std::vector<uint8_t>(got[0].begin(), got[0].end() - 17),
              Chat(1001, "x" + line.substr(0, 398), 0, 0xFFFF));

    for (const auto& body :
         {std::vector<uint8_t>{}, std::vector<uint8_t>(30, 1), std::vector<uint8_t>(48, 0)})
        Send(b, b.Frame(MSG_TABLE_CHAT, body));
    EXPECT_EQ(server.Violations(), 3);

    output.received.clear();
    now += 1000;
    for (int i = 0; i < 7; ++i)
        Send(b, b.Frame(MSG_TABLE_CHAT, Chat(1002, "spam", 1, 0xFFFF)));
    EXPECT_EQ(Bodies(1, MSG_TABLE_CHAT).size(), 5u);
    EXPECT_EQ(server.ChatDrops(), 2);
    now += 1000;
    Send(b, b.Frame(MSG_TABLE_CHAT, Chat(1002, "later", 1, 0xFFFF)));
    EXPECT_EQ(Bodies(1, MSG_TABLE_CHAT).size(), 6u);
    EXPECT_EQ(server.Violations(), 3);
}

} // namespace
} // namespace kelo
