// SPDX-License-Identifier: GPL-3.0-or-later
// The computer player against a scripted engine process on the test's clock: its levels, its
// time, the table's rule of five checks, its draws and resignations, an engine that fails.
#include "engine/CEnginePlayer.h"

#include "support/FakeEngineProcess.h"
#include "support/ManualEventLoop.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kelo {
namespace {

using Lines = std::vector<std::string>;

// What the owner was told: "ready NAME", "move TEXT SOURCE[ resign]", "gone WHY".
class Recorder : public IEnginePlayerObserver {
public:
    void OnPlayerReady(const std::string& name) override { events.push_back("ready " + name); }
    void OnPlayerMove(const EngineAnswer& answer) override {
        static const char* const sources[] = {"engine", "researched", "own"};
        events.push_back("move " + answer.text + " " + sources[static_cast<int>(answer.source)] +
                         (answer.resign ? " resign" : ""));
        last = answer;
    }
    void OnPlayerGone(const std::string& why) override { events.push_back("gone " + why); }
    Lines Take() { return std::exchange(events, {}); }

    Lines events;
    EngineAnswer last;
};

const Lines SKILLED = {"id name Fake 1.0", "option name Threads type spin default 1 min 1 max 512",
                       "option name Skill Level type spin default 20 min 0 max 20"};

// 60 s each, 10 s a move, 1 s added, as at a practice table.
constexpr EngineClock TABLE_CLOCK{60000, 60000, 10000, 1000};

struct Rig {
    // Starts the player at the level and answers the handshake; returns what was written.
    Lines Start(int level, const Lines& offered = SKILLED) {
        player.Start("/usr/games/stockfish", {}, level);
        process.SayAll(offered);
        process.Say("uciok");
        process.Say("readyok");
        started = observer.Take();
        return process.Take();
    }
    EngineTurn Turn(const std::string& fen, const Lines& moves = {}, int checkRun = 0,
                    Colour colour = Colour::White) {
        EngineTurn turn;
        turn.position.fen = fen;
        turn.position.moves = moves;
        turn.colour = colour;
        turn.clock = TABLE_CLOCK;
        turn.checkRun = checkRun;
        return turn;
    }
    // The "go" line written since the last look, or "".
    std::string Go() {
        const Lines written = process.Take();
        const auto go = std::find_if(written.begin(), written.end(),
                                     [](const std::string& l) { return l.rfind("go", 0) == 0; });
        return go != written.end() ? *go : "";
    }

    test::FakeEngineProcess process;
    test::ManualEventLoop loop;
    Recorder observer;
    // What the observer was told during Start.
    Lines started;
    CEnginePlayer player{process, loop, observer, [this] { return loop.Now(); }};
};

class EnginePlayer : public ::testing::Test, public Rig {};

bool Contains(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The level's Skill Level goes out at the handshake where offered, the caps with every search;
// an engine without Skill Level gets the caps alone. A new level waits for the next game.
TEST_F(EnginePlayer, LevelsSetSkillAndCaps) {
    const Lines written = Start(1);
    EXPECT_TRUE(Contains(written, "setoption name Skill Level value 0"));
    EXPECT_EQ(started, Lines{"ready Fake 1.0"});
    ASSERT_TRUE(player.Play(Turn("")));
    EXPECT_EQ(Go(), "go movetime 100 depth 1 nodes 200");
    process.Say("bestmove e2e4");

    player.SetLevel(8);
    EXPECT_EQ(player.Level(), 1);
    player.NewGame();
    const Lines newGame = process.Take();
    EXPECT_EQ(player.Level(), 8);
    EXPECT_TRUE(Contains(newGame, "ucinewgame"));
    EXPECT_TRUE(Contains(newGame, "setoption name Skill Level value 20"));
    process.Say("readyok");
    ASSERT_TRUE(player.Play(Turn("")));
    EXPECT_EQ(Go(), "go wtime 58500 btime 60000 winc 1000 binc 1000");

    // No Skill Level offered: none is sent, the caps still make the level.
    Rig plain;
    const Lines plainWritten = plain.Start(2, {"id name Plain", "option name Hash type spin"});
    EXPECT_FALSE(std::any_of(plainWritten.begin(), plainWritten.end(), [](const std::string& l) {
        return l.find("Skill") != std::string::npos;
    }));
    ASSERT_TRUE(plain.player.Play(plain.Turn("")));
    EXPECT_EQ(plain.Go(), "go movetime 200 depth 2 nodes 1000");
}

// The answer comes once, from the loop: the engine's move with its score, or the player's own
// move at once when the engine names none or an illegal one.
TEST_F(EnginePlayer, AnswersOnceWithALegalMove) {
    Start(4);
    struct Case {
        const char* what;
        Lines said;
        std::string expected;
    };
    const Case cases[] = {
        {"the engine's move",
         {"info depth 6 score cp 31 nodes 900 pv e2e4 e7e5", "bestmove e2e4"},
         "move e2e4 engine"},
        {"no move named", {"bestmove (none)"}, "move "},
        {"an illegal move", {"bestmove e2e5"}, "move "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(player.Play(Turn("")));
        EXPECT_TRUE(observer.Take().empty());
        process.Take();
        process.SayAll(c.said);
        const Lines told = observer.Take();
        ASSERT_EQ(told.size(), 1u);
        EXPECT_EQ(told[0].rfind(c.expected, 0), 0u) << told[0];
        if (c.expected == "move ") {
            EXPECT_NE(told[0].find(" own"), std::string::npos) << told[0];
        }
        loop.Advance(20000);
        EXPECT_TRUE(observer.Take().empty());
    }
    ASSERT_TRUE(player.LastScore());
    EXPECT_EQ(player.LastScore()->value, 31);
    // Not this colour's turn, or a position that is not legal: no turn at all.
    EXPECT_FALSE(player.Play(Turn("", {}, 0, Colour::Black)));
    EXPECT_FALSE(player.Play(Turn("", {"e2e5"})));
    EXPECT_FALSE(player.Thinking());
}

// An engine that ignores its time: "stop" when its time is up, and when even that brings no
// answer, a move of the player's own, long before the table's clock runs out.
TEST_F(EnginePlayer, EngineThatIgnoresItsTime) {
    Start(4);
    ASSERT_TRUE(player.Play(Turn("")));
    EXPECT_EQ(Go(), "go movetime 500 depth 6 nodes 20000");
    loop.Advance(699);
    EXPECT_TRUE(process.Take().empty());
    loop.Advance(1);
    EXPECT_EQ(process.Take(), Lines{"stop"});
    loop.Advance(299);
    EXPECT_TRUE(observer.Take().empty());
    loop.Advance(1);
    const Lines told = observer.Take();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].substr(told[0].size() - 4), " own");
    EXPECT_LE(loop.Now() + EngineClockPlan::SAFETY_MS, uint64_t{TABLE_CLOCK.moveLeftMs});

    // Its late answer is dropped; the next turn's search waits for it and is answered.
    ASSERT_TRUE(player.Play(Turn("", {"e2e4", "e7e5"})));
    EXPECT_EQ(Go(), "");
    process.Say("bestmove d2d4");
    EXPECT_EQ(Go(), "go movetime 500 depth 6 nodes 20000");
    process.Say("bestmove g1f3");
    EXPECT_EQ(observer.Take(), Lines{"move g1f3 engine"});
}

// An engine that answers not even "stop", turn after turn, is given up as gone.
TEST_F(EnginePlayer, EngineThatNeverAnswersIsGone) {
    Start(1);
    for (int turn = 0; turn < CEnginePlayer::SILENT_TURNS; ++turn) {
        ASSERT_TRUE(player.Play(Turn("", turn == 1 ? Lines{"e2e4", "e7e5"} : Lines{})));
        loop.Advance(10000);
    }
    const Lines told = observer.Take();
    ASSERT_EQ(told.size(), 3u);
    EXPECT_EQ(told[2].rfind("gone ", 0), 0u);
    EXPECT_FALSE(player.Play(Turn("")));
    EXPECT_FALSE(process.Running());
}

// The fifth check in a row is a draw at the table unless it mates: the player searches again
// without the checks, plays a mate when there is one, and plays a check only when every move
// is one.
TEST_F(EnginePlayer, FifthCheckInARow) {
    Start(8);
    // The queen can check from e2, a4, h5, d8 and e1's neighbours; d1d2 does not check.
    const std::string queen = "4k3/8/8/8/8/8/8/3QK3 w - - 0 1";
    ASSERT_TRUE(player.Play(Turn(queen, {}, 4)));
    process.Take();
    process.Say("info depth 20 score cp 900 pv d1e2");
    process.Say("bestmove d1e2");
    EXPECT_TRUE(observer.Take().empty());
    const std::string again = Go();
    ASSERT_EQ(again.rfind("go movetime ", 0), 0u) << again;
    const size_t list = again.find(" searchmoves ");
    ASSERT_NE(list, std::string::npos);
    const std::string moves = again.substr(list) + " ";
    EXPECT_NE(moves.find(" d1d2 "), std::string::npos);
    for (const char* check : {"d1e2", "d1a4", "d1h5", "d1d8"})
        EXPECT_EQ(moves.find(std::string(" ") + check + " "), std::string::npos) << check;
    process.Say("bestmove d1d2");
    EXPECT_EQ(observer.Take(), Lines{"move d1d2 researched"});

    // Fourth check in a row: the check is played.
    ASSERT_TRUE(player.Play(Turn(queen, {}, 3)));
    process.Take();
    process.Say("bestmove d1e2");
    EXPECT_EQ(observer.Take(), Lines{"move d1e2 engine"});

    // The engine ignores its searchmoves: a move of the player's own, not a check.
    ASSERT_TRUE(player.Play(Turn(queen, {}, 4)));
    process.Say("bestmove d1e2");
    process.Say("bestmove d1a4");
    const Lines own = observer.Take();
    ASSERT_EQ(own.size(), 1u);
    EXPECT_TRUE(own[0] != "move d1e2 own" && own[0] != "move d1a4 own" &&
                own[0].substr(own[0].size() - 4) == " own")
        << own[0];

    struct Case {
        const char* what;
        std::string fen;
        std::string engine;
        std::string expected;
    };
    const Case cases[] = {
        // A mating fifth check is no draw.
        {"the engine mates", "6k1/5ppp/8/8/8/8/8/3QK3 w - - 0 1", "d1d8", "move d1d8 engine"},
        // The engine checks though a mate is there: the mate is played.
        {"a mate beside the check", "7k/6pp/8/6N1/8/8/8/R3K3 w - - 0 1", "g5f7", "move a1a8 own"},
        // The king is shut in; the pawn's step, a check, is the only move.
        {"every move checks", "5kr1/8/3bP3/8/8/8/8/7K w - - 0 1", "e6e7", "move e6e7 engine"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(player.Play(Turn(c.fen, {}, 4)));
        process.Take();
        process.Say("bestmove " + c.engine);
        EXPECT_EQ(observer.Take(), Lines{c.expected});
        EXPECT_EQ(Go(), "");
    }
}

// The draw is agreed only when the last score is at most even; a level from 5 on resigns after
// three own moves in a row at -1000 or worse, or with a mate against it.
TEST_F(EnginePlayer, DrawAndResignDecisions) {
    struct Case {
        const char* what;
        int level;
        Lines scores;
        // Whether the last move came with the wish to resign, and a draw is welcome after it.
        bool resign;
        bool draw;
    };
    const Case cases[] = {
        {"no score yet", 5, {}, false, false},
        {"even", 8, {"cp 0"}, false, true},
        {"slightly better", 8, {"cp 1"}, false, false},
        {"a mate for it", 8, {"mate 2"}, false, false},
        {"lost three times", 5, {"cp -1200", "cp -1000", "cp -1500"}, true, true},
        {"lost twice", 5, {"cp -1200", "cp -1000"}, false, true},
        {"a lost run interrupted", 6, {"cp -1200", "cp -300", "cp -1500", "cp -2000"}, false, true},
        {"mated", 8, {"mate -3", "mate -2", "mate -1"}, true, true},
        {"a level that plays on", 4, {"cp -2000", "cp -2000", "cp -2000"}, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig;
        rig.Start(c.level);
        bool resign = false;
        for (const std::string& score : c.scores) {
            ASSERT_TRUE(rig.player.Play(rig.Turn("")));
            rig.process.Say("info depth 10 score " + score + " nodes 5 pv e2e4");
            rig.process.Say("bestmove e2e4");
            ASSERT_EQ(rig.observer.Take().size(), 1u);
            resign = rig.observer.last.resign;
        }
        EXPECT_EQ(resign, c.resign);
        EXPECT_EQ(rig.player.AcceptsDraw(), c.draw);
    }
    // A new game forgets the score.
    Start(5);
    ASSERT_TRUE(player.Play(Turn("")));
    process.Say("info depth 10 score cp -5 pv e2e4");
    process.Say("bestmove e2e4");
    EXPECT_TRUE(player.AcceptsDraw());
    player.NewGame();
    EXPECT_FALSE(player.AcceptsDraw());
}

// An engine that is missing or crashes is reported once; the turn in progress gets no answer,
// and no turn is taken any more. A turn given up (a take-back) is never answered.
TEST_F(EnginePlayer, EngineThatFails) {
    Start(4);
    ASSERT_TRUE(player.Play(Turn("")));
    player.Abandon();
    process.Say("bestmove e2e4");
    EXPECT_TRUE(observer.Take().empty());

    ASSERT_TRUE(player.Play(Turn("", {"e2e4", "e7e5"})));
    process.Die("the engine crashed (signal 9)");
    process.Die("again");
    loop.Advance(20000);
    EXPECT_EQ(observer.Take(), Lines{"gone the engine crashed (signal 9)"});
    EXPECT_FALSE(player.Play(Turn("")));
    player.NewGame();
    EXPECT_TRUE(observer.Take().empty());

    // Missing: gone before it was ever ready, and a turn is refused.
    Rig missing;
    missing.player.Start("/nowhere/stockfish", {}, 4);
    missing.process.Die("/nowhere/stockfish: no such program");
    EXPECT_EQ(missing.observer.Take(), Lines{"gone /nowhere/stockfish: no such program"});
    EXPECT_FALSE(missing.player.Play(missing.Turn("")));
}

} // namespace
} // namespace kelo
