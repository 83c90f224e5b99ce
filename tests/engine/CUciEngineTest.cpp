// SPDX-License-Identifier: GPL-3.0-or-later
// The UCI engine client against a scripted process: what it writes, what it makes of the
// engine's answers, its timeouts on the test's clock.
#include "engine/CUciEngine.h"

#include "chess/CCoordinateMove.h"
#include "chess/ChessTypes.h"
#include "support/FakeEngineProcess.h"
#include "support/ManualEventLoop.h"

#include <gtest/gtest.h>

namespace kelo {
namespace {

using Lines = std::vector<std::string>;

const char* const kStockfishOptions[] = {
    "option name Debug Log File type string default ",
    "option name Threads type spin default 1 min 1 max 1024",
    "option name Hash type spin default 16 min 1 max 33554432",
    "option name Clear Hash type button",
    "option name Skill Level type spin default 20 min 0 max 20",
};

// What the owner was told, one line each: "ready <name>", "best <text> <move as the rules
// filled it>", "best none <text>", "refused <text>: <why>", "gone <why>".
class Recorder : public IUciEngineObserver {
public:
    void OnEngineReady(const std::string& name) override { events.push_back("ready " + name); }
    void OnEngineInfo(const UciInfo& info) override { infos.push_back(info); }
    void OnBestMove(const std::optional<MoveRecord>& move, const std::string& text) override {
        if (!move) {
            events.push_back("best none " + text);
            return;
        }
        last = *move;
        events.push_back("best " + text + " " +
                         CCoordinateMove::Format(move->from, move->to, move->special));
    }
    void OnBestMoveRefused(const std::string& text, const std::string& why) override {
        events.push_back("refused " + text + ": " + why);
    }
    void OnEngineGone(const std::string& why) override { events.push_back("gone " + why); }

    Lines Take() { return std::exchange(events, {}); }

    Lines events;
    std::vector<UciInfo> infos;
    MoveRecord last;
};

// An engine client on a scripted process and the test's clock.
struct Rig {
    // Starts the engine and answers its handshake with the given lines; returns what it wrote.
    Lines Handshake(const Lines& offered = {},
                    const std::map<std::string, std::string>& options = {}) {
        engine.Start("/usr/games/stockfish", {}, options);
        process.SayAll(offered);
        process.Say("uciok");
        Lines written = process.Take();
        process.Say("readyok");
        return written;
    }
    void Ready() {
        Handshake({"id name Fake 1.0"});
        process.Take();
        observer.Take();
    }

    test::FakeEngineProcess process;
    test::ManualEventLoop loop;
    Recorder observer;
    CUciEngine engine{process, loop, observer};
};

class UciEngine : public ::testing::Test, public Rig {};

// The handshake: Threads and Hash only where offered, the caller's options by the engine's
// spelling (option names are not case-sensitive) and only where offered, the caller's value
// winning over the client's own; ready only with readyok.
TEST(UciEngineHandshake, SetsWhatIsOffered) {
    struct Case {
        const char* name;
        Lines offered;
        std::map<std::string, std::string> options;
        Lines written;
        const char* ready;
    };
    const Lines stockfish(std::begin(kStockfishOptions), std::end(kStockfishOptions));
    Lines named = stockfish;
    named.insert(named.begin(), {"id name Stockfish 15.1", "id author the developers"});
    const Case cases[] = {
        {"stockfish",
         named,
         {{"skill level", "3"}, {"Clear Hash", ""}, {"UCI_Elo", "1400"}},
         {"uci", "setoption name Threads value 1", "setoption name Hash value 16",
          "setoption name Clear Hash", "setoption name Skill Level value 3", "isready"},
         "ready Stockfish 15.1"},
        {"the caller's threads",
         stockfish,
         {{"threads", "2"}},
         {"uci", "setoption name Hash value 16", "setoption name Threads value 2", "isready"},
         "ready stockfish"},
        {"nothing offered",
         {"id name  Bare   Engine ", "garbage ☃", ""},
         {{"Hash", "64"}},
         {"uci", "isready"},
         "ready Bare Engine"},
        {"a value cannot add a line",
         stockfish,
         {{"Skill Level", "1\nquit"}},
         {"uci", "setoption name Threads value 1", "setoption name Hash value 16",
          "setoption name Skill Level value 1 quit", "isready"},
         "ready stockfish"},
    };
    for (const Case& c : cases) {
        Rig rig;
        auto& [process, loop, observer, engine] = rig;
        engine.Start("/usr/games/stockfish", {"--flag"}, c.options);
        EXPECT_EQ(process.Program(), "/usr/games/stockfish") << c.name;
        EXPECT_EQ(process.Args(), Lines{"--flag"}) << c.name;
        process.SayAll(c.offered);
        // Lines before uciok do nothing; readyok before it neither.
        process.Say("readyok");
        EXPECT_FALSE(engine.Ready()) << c.name;
        process.Say("uciok");
        EXPECT_EQ(process.Take(), c.written) << c.name;
        EXPECT_FALSE(engine.Ready()) << c.name;
        EXPECT_TRUE(observer.events.empty()) << c.name;
        process.Say("readyok");
        EXPECT_TRUE(engine.Ready()) << c.name;
        EXPECT_EQ(observer.Take(), Lines{c.ready}) << c.name;
        EXPECT_TRUE(engine.HasOption("hash") == (c.offered.size() > 3)) << c.name;
        // A late id or a second readyok changes nothing.
        process.SayAll({"id name Other", "readyok"});
        EXPECT_TRUE(observer.events.empty()) << c.name;
    }
}

// No uciok or no readyok (also a new game's) within 10 s: the engine counts as gone, once,
// and its process is ended.
TEST(UciEngineHandshake, SilenceIsGone) {
    struct Case {
        const char* name;
        Lines said;
        bool newGame;
        const char* gone;
    };
    const Case cases[] = {
        {"no uciok", {"id name Mute"}, false, "gone 引擎没有在 10 秒内回应 uci 命令"},
        {"no readyok", {"uciok"}, false, "gone 引擎没有在 10 秒内回应 isready 命令"},
        {"no readyok for a new game",
         {"uciok", "readyok"},
         true,
         "gone 引擎没有在 10 秒内回应 isready 命令"},
    };
    for (const Case& c : cases) {
        Rig rig;
        auto& [process, loop, observer, engine] = rig;
        engine.Start("engine", {});
        process.SayAll(c.said);
        if (c.newGame) {
            observer.Take();
            engine.NewGame();
        }
        loop.Advance(9999);
        EXPECT_TRUE(observer.events.empty()) << c.name;
        loop.Advance(1);
        EXPECT_EQ(observer.Take(), Lines{c.gone}) << c.name;
        EXPECT_FALSE(process.Running()) << c.name;
        EXPECT_FALSE(engine.Ready()) << c.name;
        loop.Advance(60000);
        process.SayAll({"uciok", "readyok"});
        process.Die("late");
        EXPECT_TRUE(observer.events.empty()) << c.name;
    }
}

// The answer of a search, checked on the position searched: the move as the rules fill it, no
// move, and what is refused (with the line on stderr) rather than played.
TEST_F(UciEngine, BestMoveIsCheckedAgainstThePositionSearched) {
    struct Case {
        const char* fen;
        Lines moves;
        const char* answer;
        const char* event;
        // For a move: what the rules filled in.
        PieceKind kind = PieceKind::None;
        uint8_t special = SPECIAL_NONE;
        Colour colour = Colour::White;
    };
    const char* const promotion = "8/4P3/8/8/8/8/k7/4K3 w - - 0 1";
    const char* const castling = "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1";
    const PieceKind pawn = PieceKind::Pawn;
    const Case cases[] = {
        {"", {}, "bestmove e2e4 ponder e7e5", "best e2e4 e2e4", pawn},
        {"", {}, "bestmove g1f3", "best g1f3 g1f3", PieceKind::Knight},
        {"", {"e2e4"}, "bestmove e7e5", "best e7e5 e7e5", pawn, SPECIAL_NONE, Colour::Black},
        {"",
         {"e2e4", "a7a6", "e4e5", "d7d5"},
         "bestmove e5d6",
         "best e5d6 e5d6",
         pawn,
         SPECIAL_EN_PASSANT},
        {castling,
         {},
         "bestmove e8c8",
         "best e8c8 e8c8",
         PieceKind::King,
         SPECIAL_CASTLE_QUEEN,
         Colour::Black},
        {promotion, {}, "bestmove e7e8n", "best e7e8n e7e8n", pawn, SPECIAL_PROMOTE_KNIGHT},
        {"", {}, "bestmove (none)", "best none (none)"},
        {"", {}, "bestmove 0000 ponder e2e4", "best none 0000"},
        {"", {}, "bestmove e2e5", "refused e2e5: not a legal move in the position searched"},
        {"", {"e2e4"}, "bestmove d2d4", "refused d2d4: not a legal move in the position searched"},
        {"", {}, "bestmove e7e5", "refused e7e5: not a legal move in the position searched"},
        {castling, {}, "bestmove e1g1", "refused e1g1: not a legal move in the position searched"},
        {"",
         {},
         "bestmove e2e4q",
         "refused e2e4q: not a legal move in the position searched (no promotion there)"},
        {promotion,
         {},
         "bestmove e7e8",
         "refused e7e8: a pawn reaching the last rank needs its promotion piece (e7e8q)"},
        {promotion,
         {},
         "bestmove e7e8k",
         "refused e7e8k: not a move in coordinate notation (e2e4, e7e8q)"},
        {"", {}, "bestmove E2E4", "refused E2E4: not a move in coordinate notation (e2e4, e7e8q)"},
        {"", {}, "bestmove i9i9", "refused i9i9: not a move in coordinate notation (e2e4, e7e8q)"},
        {"", {}, "bestmove", "refused : no move named"},
    };
    Ready();
    for (const Case& c : cases) {
        ASSERT_TRUE(engine.Go({c.fen, c.moves}, {})) << c.answer;
        EXPECT_TRUE(engine.Searching());
        process.Take();
        process.Say(c.answer);
        EXPECT_FALSE(engine.Searching()) << c.answer;
        ASSERT_EQ(observer.Take(), Lines{c.event}) << c.answer;
        if (c.kind != PieceKind::None) {
            EXPECT_EQ(observer.last.kind, c.kind) << c.answer;
            EXPECT_EQ(observer.last.special, c.special) << c.answer;
            EXPECT_EQ(observer.last.colour, c.colour) << c.answer;
        }
        // A second answer to the same search is not one.
        process.Say("bestmove a2a3");
        EXPECT_TRUE(observer.events.empty()) << c.answer;
    }
}

// What a search writes, and the searches that are refused before anything is written.
TEST_F(UciEngine, GoWritesThePositionAndTheLimits) {
    struct Case {
        UciPosition position;
        UciLimits limits;
        Lines written;
    };
    UciLimits clock;
    clock.wtime = 60000;
    clock.btime = -20;
    clock.winc = 1000;
    clock.binc = 0;
    clock.movestogo = 20;
    UciLimits fixed;
    fixed.movetime = 500;
    fixed.depth = 3;
    fixed.nodes = 5000000000ULL;
    UciLimits narrowed;
    narrowed.movetime = 100;
    narrowed.searchmoves = {"e7e5", "g8f6"};
    const Case cases[] = {
        {{}, {}, {"position startpos", "go"}},
        {{"", {"e2e4", "e7e5"}},
         clock,
         {"position startpos moves e2e4 e7e5",
          "go wtime 60000 btime 0 winc 1000 binc 0 movestogo 20"}},
        {{"  8/4P3/8/8/8/8/k7/4K3   w - - 0 1 ", {"e7e8r", "a2b3"}},
         fixed,
         {"position fen 8/4P3/8/8/8/8/k7/4K3 w - - 0 1 moves e7e8r a2b3",
          "go movetime 500 depth 3 nodes 5000000000"}},
        {{"", {"e2e4"}},
         narrowed,
         {"position startpos moves e2e4", "go movetime 100 searchmoves e7e5 g8f6"}},
    };
    Ready();
    for (const Case& c : cases) {
        ASSERT_TRUE(engine.Go(c.position, c.limits));
        EXPECT_EQ(process.Take(), c.written);
        process.Say("bestmove (none)");
    }
    observer.Take();

    struct Refused {
        const char* name;
        UciPosition position;
        Lines searchmoves;
    };
    const Refused refused[] = {
        {"illegal move", {"", {"e2e4", "e2e4"}}, {}},
        {"unreadable move", {"", {"e2-e4"}}, {}},
        {"promotion without its piece", {"8/4P3/8/8/8/8/k7/4K3 w - - 0 1", {"e7e8"}}, {}},
        {"unreadable position", {"8/8/9 w - - 0 1", {}}, {}},
        {"illegal searchmove", {"", {}}, {"e2e4", "e7e5"}},
    };
    for (const Refused& r : refused) {
        UciLimits limits;
        limits.searchmoves = r.searchmoves;
        EXPECT_FALSE(engine.Go(r.position, limits)) << r.name;
        EXPECT_FALSE(engine.Searching()) << r.name;
        EXPECT_TRUE(process.Take().empty()) << r.name;
    }
    // One search at a time.
    ASSERT_TRUE(engine.Go({}, {}));
    EXPECT_FALSE(engine.Go({}, {}));
    EXPECT_EQ(process.Take(), (Lines{"position startpos", "go"}));
}

TEST_F(UciEngine, NoSearchBeforeTheEngineIsReady) {
    engine.Start("engine", {});
    process.Say("uciok");
    EXPECT_FALSE(engine.Go({}, {}));
    engine.NewGame();
    EXPECT_EQ(process.Take(), (Lines{"uci", "isready"}));
}

// Stop asks the running search for its move now, once; its answer still comes and counts.
TEST_F(UciEngine, StopAsksForTheMoveNow) {
    Ready();
    engine.Stop();
    EXPECT_TRUE(process.Take().empty());
    UciLimits infinite;
    ASSERT_TRUE(engine.Go({}, infinite));
    process.Say("info depth 12 score cp 31 pv e2e4 e7e5");
    engine.Stop();
    engine.Stop();
    EXPECT_EQ(process.Take(), (Lines{"position startpos", "go", "stop"}));
    process.Say("bestmove e2e4");
    EXPECT_EQ(observer.Take(), Lines{"best e2e4 e2e4"});
    ASSERT_EQ(observer.infos.size(), 1u);
    EXPECT_EQ(observer.infos[0].depth, 12);
    // The next search may be stopped again.
    ASSERT_TRUE(engine.Go({}, {}));
    engine.Stop();
    EXPECT_EQ(process.Take(), (Lines{"position startpos", "go", "stop"}));
}

// Cancel drops the running search: its info lines and its bestmove are swallowed, and a search
// asked for meanwhile goes out only after that bestmove, so it gets its own answer. A stop of
// the held search follows its go; a held search that is cancelled is never sent.
TEST_F(UciEngine, CancelDropsTheAnswerOfTheSearch) {
    Ready();
    ASSERT_TRUE(engine.Go({}, {}));
    engine.Cancel();
    EXPECT_FALSE(engine.Searching());
    EXPECT_EQ(process.Take(), (Lines{"position startpos", "go", "stop"}));

    ASSERT_TRUE(engine.Go({"", {"e2e4"}}, {}));
    EXPECT_TRUE(engine.Searching());
    EXPECT_TRUE(process.Take().empty());
    // Cancelled again before it went out: nothing of it is ever written.
    engine.Cancel();
    ASSERT_TRUE(engine.Go({"", {"d2d4"}}, {}));
    engine.Stop();
    process.Say("info depth 20 score mate 3 pv e2e4");
    process.Say("bestmove e2e4");
    EXPECT_TRUE(observer.events.empty());
    EXPECT_TRUE(observer.infos.empty());
    EXPECT_EQ(process.Take(), (Lines{"position startpos moves d2d4", "go", "stop"}));
    // The answer of the new search is checked on its own position: d7d5 is Black's.
    process.Say("info depth 1 score cp -5 pv d7d5");
    process.Say("bestmove d7d5");
    EXPECT_EQ(observer.Take(), Lines{"best d7d5 d7d5"});
    EXPECT_EQ(observer.infos.size(), 1u);

    // A cancel without a search, and a new game over a running search, which it cancels.
    engine.Cancel();
    ASSERT_TRUE(engine.Go({}, {}));
    engine.NewGame();
    ASSERT_TRUE(engine.Go({"", {"g1f3"}}, {}));
    EXPECT_EQ(process.Take(), (Lines{"position startpos", "go", "stop", "ucinewgame", "isready"}));
    // Held until both the dropped bestmove and the readyok came, in whatever order.
    process.Say("readyok");
    EXPECT_TRUE(process.Take().empty());
    process.Say("bestmove e2e4");
    EXPECT_EQ(process.Take(), (Lines{"position startpos moves g1f3", "go"}));
    process.Say("bestmove g8f6");
    EXPECT_EQ(observer.Take(), Lines{"best g8f6 g8f6"});
}

// A process that ends by itself is reported once, mid-search too; nothing is asked of it
// afterwards. Quit ends it without a report.
TEST_F(UciEngine, GoneOnceAndQuit) {
    Ready();
    ASSERT_TRUE(engine.Go({}, {}));
    process.Die("引擎崩溃了（信号 11）");
    process.Die("again");
    EXPECT_EQ(observer.Take(), Lines{"gone 引擎崩溃了（信号 11）"});
    EXPECT_FALSE(engine.Ready());
    EXPECT_FALSE(engine.Searching());
    process.Say("bestmove e2e4");
    EXPECT_FALSE(engine.Go({}, {}));
    engine.Stop();
    engine.Cancel();
    engine.NewGame();
    engine.Quit();
    EXPECT_TRUE(observer.events.empty());

    // A started engine can be started again, and quit: "quit", then the process ends.
    Ready();
    const int stops = process.Stops();
    engine.Quit();
    EXPECT_EQ(process.Take(), Lines{"quit"});
    EXPECT_EQ(process.Stops(), stops + 1);
    process.Die("ended");
    EXPECT_TRUE(observer.events.empty());
    EXPECT_FALSE(engine.Ready());
}

TEST_F(UciEngine, DestroyedEngineQuitsAndLetsTheProcessGo) {
    test::FakeEngineProcess own;
    {
        CUciEngine started(own, loop, observer);
        started.Start("engine", {});
        own.Take();
        EXPECT_EQ(own.Events(), &started);
    }
    EXPECT_EQ(own.Take(), Lines{"quit"});
    EXPECT_FALSE(own.Running());
    EXPECT_EQ(own.Events(), nullptr);
    // No timer of it is left to fire.
    loop.Advance(20000);
}

// Info lines: the fields read, the rest ignored without harm.
TEST(UciInfoLine, FieldsAreReadAndTheRestIgnored) {
    struct Case {
        const char* line;
        bool read;
        int depth = 0;
        int multipv = 1;
        uint64_t nodes = 0;
        std::optional<UciScore> score = std::nullopt;
        std::vector<std::string> pv = {};
    };
    using U = UciScore::Unit;
    using B = UciScore::Bound;
    const Case cases[] = {
        {"info depth 20 seldepth 28 multipv 1 score cp 35 nodes 2165321 nps 1075000 hashfull 6 "
         "tbhits 0 time 2014 pv e2e4 e7e5 g1f3 b8c6 f1b5",
         true,
         20,
         1,
         2165321,
         UciScore{U::Centipawns, 35, B::Exact},
         {"e2e4", "e7e5", "g1f3", "b8c6", "f1b5"}},
        {"info depth 9 multipv 2 score mate -3 upperbound nodes 12 pv h7h8q",
         true,
         9,
         2,
         12,
         UciScore{U::Mate, -3, B::Upper},
         {"h7h8q"}},
        {"info depth 5 score cp -120 lowerbound wdl 10 200 790 pv d2d4",
         true,
         5,
         1,
         0,
         UciScore{U::Centipawns, -120, B::Lower},
         {"d2d4"}},
        {"info depth 0 score mate 0", true, 0, 1, 0, UciScore{U::Mate, 0, B::Exact}},
        {"info\tdepth 3\r", true, 3},
        {"info nodes 18446744073709551615", true, 0, 1, 18446744073709551615ULL},
        // A pv ends at the first word that is no move.
        {"info depth 4 pv e2e4 junk e7e5", true, 4, 1, 0, std::nullopt, {"e2e4"}},
        // Values out of range or not numbers leave their field alone.
        {"info depth 99999999999 score cp 1e3 nodes -5 multipv 0 pv", false},
        {"info depth -1 score cp 2147483648 nodes 18446744073709551616", false},
        {"info score mate", false},
        {"info score", false},
        {"info score bogus 12 depth 7", true, 7},
        {"info depth", false},
        {"info currmove e2e4 currmovenumber 1", false},
        {"info string depth 5 NNUE evaluation using nn-ad9b42354671.nnue enabled", false},
        {"info depth 2 string score cp 5", true, 2},
        {"info depth 6 refutation d1h5 g6h5", true, 6},
        {"info", false},
        {"infodepth 3", false},
        {"bestmove e2e4", false},
        {"", false},
        {"info \xff\xfe depth 8 \x01", true, 8},
    };
    for (const Case& c : cases) {
        const std::optional<UciInfo> info = CUciEngine::ParseInfo(c.line);
        ASSERT_EQ(info.has_value(), c.read) << c.line;
        if (!info)
            continue;
        EXPECT_EQ(info->depth, c.depth) << c.line;
        EXPECT_EQ(info->multipv, c.multipv) << c.line;
        EXPECT_EQ(info->nodes, c.nodes) << c.line;
        ASSERT_EQ(info->score.has_value(), c.score.has_value()) << c.line;
        if (c.score) {
            EXPECT_EQ(info->score->unit, c.score->unit) << c.line;
            EXPECT_EQ(info->score->value, c.score->value) << c.line;
            EXPECT_EQ(info->score->bound, c.score->bound) << c.line;
        }
        EXPECT_EQ(info->pv, c.pv) << c.line;
    }
}

// A long variation is read whole.
TEST(UciInfoLine, LongVariation) {
    std::string line = "info depth 60 pv";
    for (int i = 0; i < 500; ++i)
        line += i % 2 == 0 ? " g1f3" : " g8f6";
    const std::optional<UciInfo> info = CUciEngine::ParseInfo(line);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->pv.size(), 500u);
}

} // namespace
} // namespace kelo
