// SPDX-License-Identifier: GPL-3.0-or-later
// A chess engine's process on Qt, with the tests' fake engine as a real child process.
#include "engine/CEngineLocator.h"
#include "engine/CUciEngine.h"
#include "ports/qt/CQtEngineProcess.h"
#include "ports/qt/CQtEventLoop.h"

#include "../../link/qt/QtWait.h"
#include "support/qt/QtTestSupport.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace kelo {
namespace {

using Lines = std::vector<std::string>;

std::string FakeEngine() {
    return KELO_FAKE_UCI_ENGINE;
}

// The system's Python where there is one: a version manager's python3 on the PATH may be a
// script that takes longer to start than the whole test.
std::string Python() {
    return ::access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3";
}

// Whether a process of that id still exists (a zombie counts).
bool Exists(int64_t pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH);
}

// Whether it still runs: a zombie that whoever adopted it has not reaped yet does not.
bool Runs(int64_t pid) {
    if (!Exists(pid))
        return false;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    // "pid (name) state ...": the name may hold spaces and parentheses.
    const qsizetype close = line.lastIndexOf(')');
    return close < 0 || close + 2 >= line.size() || line[close + 2] != 'Z';
}

struct Events : IEngineProcessEvents {
    void OnEngineLine(const std::string& line) override { lines.push_back(line); }
    void OnEngineGone(const std::string& why) override { gone.push_back(why); }
    Lines lines;
    Lines gone;
};

// The engine's lines come whole, without "\r" (a last one without its end too), and only
// from the loop, never inside a call; a child that ends by itself is reported once; a line
// end inside a written line does not make two lines.
TEST(EngineProcess, LinesAndTheEndComeThroughTheLoop) {
    test::TestApp();
    CQtEventLoop loop;
    Events events;
    CQtEngineProcess process(loop);
    process.SetEvents(&events);
    process.Start("printf", {"id name  Two  Spaces\\r\\n\\nreadyok\\nlast"});
    EXPECT_TRUE(events.lines.empty());
    ASSERT_TRUE(test::WaitFor([&] { return !events.gone.empty(); }, 10000));
    test::Settle(50);
    EXPECT_EQ(events.lines, (Lines{"id name  Two  Spaces", "", "readyok", "last"}));
    EXPECT_EQ(events.gone, Lines{"引擎自己退出了（退出码 0）"});

    events = {};
    process.Start("cat", {});
    process.WriteLine("isready\nquit\r");
    ASSERT_TRUE(test::WaitFor([&] { return !events.lines.empty(); }, 10000));
    EXPECT_EQ(events.lines, Lines{"isready quit "});

    // A program that cannot start is told after the call, once.
    events = {};
    process.Start("/nonexistent/engine", {});
    EXPECT_TRUE(events.gone.empty());
    ASSERT_TRUE(test::WaitFor([&] { return !events.gone.empty(); }, 10000));
    test::Settle(50);
    ASSERT_EQ(events.gone.size(), 1u);
    EXPECT_EQ(events.gone[0].rfind("无法启动引擎 /nonexistent/engine：", 0), 0u) << events.gone[0];

    // Stopped while it still talks (cat says every line back): nothing more arrives, and the
    // child is gone.
    events = {};
    process.Start("cat", {});
    process.WriteLine("uci");
    const int64_t pid = process.ProcessId();
    EXPECT_TRUE(Exists(pid));
    process.Stop();
    EXPECT_FALSE(Exists(pid));
    EXPECT_EQ(process.ProcessId(), 0);
    test::Settle(100);
    EXPECT_TRUE(events.lines.empty());
    EXPECT_TRUE(events.gone.empty());
    process.WriteLine("uci");
    process.Stop();
}

// The engine client over the real process with the tests' fake engine: its handshake, a
// search among lines a client must bear, and the crash in the next search, told once.
TEST(EngineProcess, CarriesTheEngineClient) {
    test::TestApp();
    CQtEventLoop loop;
    struct Observer : IUciEngineObserver {
        void OnEngineReady(const std::string& name) override { said.push_back("ready " + name); }
        void OnEngineInfo(const UciInfo& info) override { infos.push_back(info); }
        void OnBestMove(const std::optional<MoveRecord>&, const std::string& text) override {
            said.push_back("best " + text);
        }
        void OnBestMoveRefused(const std::string& text, const std::string&) override {
            said.push_back("refused " + text);
        }
        void OnEngineGone(const std::string& why) override { said.push_back("gone " + why); }
        Lines said;
        std::vector<UciInfo> infos;
    } observer;
    CQtEngineProcess process(loop);
    CUciEngine engine(process, loop, observer);
    engine.Start(Python(), {FakeEngine(), "--crlf", "--chatter", "--crash-after", "1", "--name",
                            "Fake Qt 2"});
    ASSERT_TRUE(test::WaitFor([&] { return engine.Ready(); }, 10000));
    EXPECT_TRUE(engine.HasOption("Threads"));
    ASSERT_TRUE(engine.Go({"", {"e2e4"}}, {}));
    ASSERT_TRUE(test::WaitFor([&] { return !engine.Searching(); }, 10000));
    // The first legal move of Black in the fake's order; the mate scores of its chatter read.
    EXPECT_EQ(observer.said, (Lines{"ready Fake Qt 2", "best a7a6"}));
    const bool mate = std::any_of(observer.infos.begin(), observer.infos.end(), [](auto& info) {
        return info.score && info.score->unit == UciScore::Unit::Mate && info.score->value == -2 &&
               info.score->bound == UciScore::Bound::Upper;
    });
    EXPECT_TRUE(mate);
    ASSERT_TRUE(engine.Go({}, {}));
    ASSERT_TRUE(test::WaitFor([&] { return observer.said.size() > 2; }, 10000));
    test::Settle(50);
    EXPECT_EQ(observer.said.back(), "gone 引擎意外终止（信号 9）");
    EXPECT_EQ(observer.said.size(), 3u);
}

// Debian's stockfish over the real process: a search cancelled while it runs, the next one
// answered with a legal move of its own position, and the quit.
TEST(EngineProcess, RealStockfish) {
    const std::optional<EngineCommand> stockfish = CEngineLocator().Locate().command;
    if (!stockfish) {
        if (std::getenv("CI") != nullptr)
            FAIL() << "no stockfish installed (sudo apt install stockfish)";
        GTEST_SKIP() << "no stockfish installed (sudo apt install stockfish)";
    }
    test::TestApp();
    CQtEventLoop loop;
    struct Observer : IUciEngineObserver {
        void OnEngineReady(const std::string& name) override { said.push_back("ready " + name); }
        void OnBestMove(const std::optional<MoveRecord>& move, const std::string& text) override {
            said.push_back("best " + text);
            if (move)
                played = *move;
        }
        void OnBestMoveRefused(const std::string& text, const std::string&) override {
            said.push_back("refused " + text);
        }
        void OnEngineGone(const std::string& why) override { said.push_back("gone " + why); }
        Lines said;
        MoveRecord played;
    } observer;
    CQtEngineProcess process(loop);
    CUciEngine engine(process, loop, observer);
    engine.Start(stockfish->program, stockfish->args);
    ASSERT_TRUE(test::WaitFor([&] { return engine.Ready(); }, 10000));
    EXPECT_TRUE(engine.HasOption("Skill Level"));
    ASSERT_TRUE(engine.Go({}, {}));
    engine.Cancel();
    // Black's king in check from the rook on a8 has one legal move: it takes the rook.
    UciLimits limits;
    limits.depth = 6;
    ASSERT_TRUE(engine.Go({"1k6/8/1K6/8/8/8/8/R6r b - - 0 1", {"h1h2", "a1a8"}}, limits));
    ASSERT_TRUE(test::WaitFor([&] { return !engine.Searching(); }, 10000));
    ASSERT_EQ(observer.said.size(), 2u) << observer.said.back();
    EXPECT_EQ(observer.said[0].rfind("ready Stockfish", 0), 0u) << observer.said[0];
    EXPECT_EQ(observer.said[1], "best b8a8");
    EXPECT_EQ(observer.played.colour, Colour::Black);
    EXPECT_EQ(observer.played.kind, PieceKind::King);
    engine.Quit();
    test::Settle(50);
    EXPECT_EQ(observer.said.size(), 2u);
}

// The destructor ends the child: one that ends at the end of its input (cat) at once, one
// that does not (sleep) after the wait, killed.
TEST(EngineProcess, TheChildGoesWithTheObject) {
    test::TestApp();
    CQtEventLoop loop;
    Events events;
    for (const auto& [program, args] :
         std::vector<std::pair<std::string, Lines>>{{"cat", {}}, {"sleep", {"30"}}}) {
        int64_t pid = 0;
        {
            CQtEngineProcess process(loop);
            process.SetEvents(&events);
            process.Start(program, args);
            process.WriteLine("uci");
            process.WriteLine("go infinite");
            ASSERT_TRUE(test::WaitFor([&] { return process.ProcessId() > 0; }, 10000));
            pid = process.ProcessId();
        }
        EXPECT_FALSE(Exists(pid)) << program;
        test::Settle(50);
        EXPECT_TRUE(events.gone.empty()) << program;
    }
}

} // namespace
} // namespace kelo

namespace kelo {
namespace {

// The parent of an engine in a process of its own (this test program, run for this test
// alone): it starts the engine and says its id, then waits to be killed.
TEST(EngineProcess, DISABLED_ParentOfAnEngine) {
    test::TestApp();
    CQtEventLoop loop;
    CQtEngineProcess process(loop);
    process.Start("sleep", {"30"});
    std::printf("engine pid %lld\n", static_cast<long long>(process.ProcessId()));
    std::fflush(stdout);
    test::Settle(30000);
}

// A parent that is killed takes its engine with it.
TEST(EngineProcess, TheEngineEndsWithAKilledParent) {
    test::TestApp();
    QProcess parent;
    parent.start(QCoreApplication::applicationFilePath(),
                 {"--gtest_filter=EngineProcess.DISABLED_ParentOfAnEngine",
                  "--gtest_also_run_disabled_tests"});
    int64_t pid = 0;
    QByteArray output;
    ASSERT_TRUE(test::WaitFor(
        [&] {
            output += parent.readAllStandardOutput();
            const qsizetype at = output.indexOf("engine pid ");
            const qsizetype end = output.indexOf('\n', at);
            if (at >= 0 && end > at)
                pid = output.mid(at + 11, end - at - 11).toLongLong();
            return pid != 0;
        },
        10000))
        << output.toStdString();
    EXPECT_TRUE(Runs(pid));
    parent.kill();
    parent.waitForFinished();
    EXPECT_TRUE(test::WaitFor([&] { return !Runs(pid); }, 5000));
    if (Runs(pid))
        ::kill(static_cast<pid_t>(pid), SIGKILL);
}

} // namespace
} // namespace kelo
