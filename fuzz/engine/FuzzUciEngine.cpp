// SPDX-License-Identifier: GPL-3.0-or-later
// The UCI engine client fed with an engine's lines and its owner's calls in any order. The
// input is lines; a line whose first byte is below 0x10 is a call of the owner's (a search, a
// stop, a cancel, a new game, the clock moved on, the process dying, a quit, a restart), any
// other line is said by the engine. Every answer the owner is given must be a legal move of the
// position searched; nothing may crash or leak.

#include "chess/CCoordinateMove.h"
#include "engine/CUciEngine.h"
#include "support/FakeEngineProcess.h"
#include "support/ManualEventLoop.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

class Observer : public kelo::IUciEngineObserver {
public:
    void OnEngineReady(const std::string& name) override { m_nSeen = m_nSeen + name.size(); }
    void OnEngineInfo(const kelo::UciInfo& info) override {
        m_nSeen = m_nSeen + info.pv.size() + static_cast<size_t>(info.depth);
    }
    void OnBestMove(const std::optional<kelo::MoveRecord>& move, const std::string&) override {
        // A move given is one the rules made: its squares are on the board.
        if (move && (move->from.x < 0 || move->from.x > 7 || move->to.y < 0 || move->to.y > 7))
            __builtin_trap();
    }
    void OnBestMoveRefused(const std::string& text, const std::string&) override {
        m_nSeen = m_nSeen + text.size();
    }
    void OnEngineGone(const std::string&) override {
        // Told once per start.
        if (++m_nGone > m_nStarts)
            __builtin_trap();
    }
    int m_nStarts = 0;
    int m_nGone = 0;

private:
    volatile size_t m_nSeen = 0;
};

const kelo::UciPosition kPositions[] = {
    {},
    {"", {"e2e4", "e7e5", "g1f3"}},
    {"8/4P3/8/8/8/8/k7/4K3 w - - 0 1", {}},
    {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", {"e8g8"}},
    {"rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3", {}},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kelo::test::FakeEngineProcess process;
    kelo::test::ManualEventLoop loop;
    Observer observer;
    kelo::CUciEngine engine(process, loop, observer);
    engine.Start("engine", {}, {{"Skill Level", "3"}});
    ++observer.m_nStarts;
    const std::string input(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start <= input.size()) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos)
            end = input.size();
        const std::string line = input.substr(start, end - start);
        start = end + 1;
        const uint8_t call = line.empty() ? 0x10 : static_cast<uint8_t>(line[0]);
        if (call >= 0x10) {
            (void)kelo::CUciEngine::ParseInfo(line);
            process.Say(line);
            continue;
        }
        const uint8_t arg = line.size() > 1 ? static_cast<uint8_t>(line[1]) : 0;
        switch (call) {
        case 0: {
            kelo::UciLimits limits;
            if (arg & 1)
                limits.movetime = arg;
            if (arg & 2)
                limits.searchmoves = {line.substr(2)};
            (void)engine.Go(kPositions[arg % std::size(kPositions)], limits);
            break;
        }
        case 1:
            engine.Stop();
            break;
        case 2:
            engine.Cancel();
            break;
        case 3:
            engine.NewGame();
            break;
        case 4:
            loop.Advance(static_cast<uint64_t>(arg) * 100);
            break;
        case 5:
            process.Die("crashed");
            break;
        case 6:
            engine.Quit();
            break;
        case 7:
            engine.Start("engine", {});
            ++observer.m_nStarts;
            break;
        default:
            (void)process.Take();
            break;
        }
    }
    return 0;
}
