// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the rules: the perft walk (every piece, every destination, through check-move) and
// the referee's has-legal-move.
#include "chess/CChessDiagram.h"
#include "chess/CChessSet.h"
#include "chess/CChnChessBoard.h"
#include "chess/CFenReader.h"
#include "chess/CPerft.h"

#include <benchmark/benchmark.h>

namespace {

constexpr const char* START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
constexpr const char* KIWIPETE =
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
// Black to move with a single way out, found late in board order.
constexpr const char* NEARLY_MATED = "6rk/5Npp/8/8/8/8/8/4K2R b - - 0 1";

void RunPerft(benchmark::State& state, const char* fen, int depth) {
    kelo::CChessSet context;
    const auto loaded = kelo::CFenReader::Load(fen, context.Position());
    kelo::CPerft perft(context.Board());
    uint64_t nodes = 0;
    for (auto _ : state)
        nodes += perft.Count(loaded.sideToMove, depth);
    state.counters["nodes/s"] =
        benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
}

void BM_PerftStartDepth4(benchmark::State& state) {
    RunPerft(state, START, 4);
}
void BM_PerftKiwipeteDepth3(benchmark::State& state) {
    RunPerft(state, KIWIPETE, 3);
}

void BM_HasLegalMove(benchmark::State& state, const char* fen) {
    kelo::CChessSet context;
    const auto loaded = kelo::CFenReader::Load(fen, context.Position());
    kelo::CChnChessBoard& board = context.Board();
    for (auto _ : state)
        benchmark::DoNotOptimize(board.HasLegalMove(loaded.sideToMove));
}

} // namespace

BENCHMARK(BM_PerftStartDepth4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PerftKiwipeteDepth3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HasLegalMove, start, START);
BENCHMARK_CAPTURE(BM_HasLegalMove, kiwipete, KIWIPETE);
BENCHMARK_CAPTURE(BM_HasLegalMove, nearly_mated, NEARLY_MATED);
