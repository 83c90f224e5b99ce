// SPDX-License-Identifier: GPL-3.0-or-later
// kelo-perft: counts the leaf nodes of the legal move tree with the client's own rules.
#include "chess/CChessSet.h"
#include "chess/CFenReader.h"
#include "chess/CPerft.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const char* START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

int Usage(const std::string& error) {
    std::fprintf(stderr, "kelo-perft: %s (usage: kelo-perft [--fen FEN] [--divide] DEPTH)\n",
                 error.c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string fen = START_FEN;
    bool divide = false;
    std::string depthText;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--fen") {
            if (i + 1 >= argc)
                return Usage("--fen needs a FEN text");
            fen = argv[++i];
        } else if (arg == "--divide") {
            divide = true;
        } else if (arg == "--help" || arg == "-h") {
            std::printf("usage: kelo-perft [--fen FEN] [--divide] DEPTH\n");
            return 0;
        } else if (depthText.empty() && !arg.empty() && arg[0] != '-') {
            depthText = arg;
        } else {
            return Usage("unexpected argument '" + arg + "'");
        }
    }
    if (depthText.empty())
        return Usage("missing DEPTH");
    char* end = nullptr;
    const long depth = std::strtol(depthText.c_str(), &end, 10);
    if (*end != '\0' || depth < 1 || depth > 12)
        return Usage("DEPTH must be a whole number from 1 to 12, not '" + depthText + "'");

    kelo::CChessSet game;
    kelo::CChessDiagram& position = game.Position();
    const kelo::CFenReader::Result loaded = kelo::CFenReader::Load(fen, position);
    if (!loaded.ok)
        return Usage(loaded.error);

    kelo::CPerft perft(game.Board());
    if (divide) {
        uint64_t total = 0;
        for (const auto& [move, count] : perft.Divide(loaded.sideToMove, static_cast<int>(depth))) {
            std::printf("%s: %llu\n", move.c_str(), static_cast<unsigned long long>(count));
            total += count;
        }
        std::printf("\n%llu\n", static_cast<unsigned long long>(total));
    } else {
        std::printf("%llu\n", static_cast<unsigned long long>(
                                  perft.Count(loaded.sideToMove, static_cast<int>(depth))));
    }
    return 0;
}
