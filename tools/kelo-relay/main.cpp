// SPDX-License-Identifier: GPL-3.0-or-later
// kelo-relay: a bad link between table clients and a game server, for tests and for whoever
// tests a server: late bytes, pieces as small as one byte, stalls and cuts, as its options say.

#include "CRelayServer.h"
#include "RelayOptions.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    kelo::RelayOptionsResult parsed = kelo::ParseRelayOptions(args);
    if (parsed.options.bHelp) {
        std::fputs(kelo::RelayUsage().c_str(), stdout);
        return 0;
    }
    if (!parsed.strError.empty()) {
        std::fprintf(stderr, "kelo-relay: %s\n", parsed.strError.c_str());
        return 2;
    }
    kelo::RelayOptions& options = parsed.options;
    if (!options.bSeedGiven)
        options.plan.nSeed =
            static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());

    QCoreApplication app(argc, argv);
    kelo::CRelayServer relay(options);
    std::string strError;
    if (!relay.Listen(strError)) {
        std::fprintf(stderr, "kelo-relay: %s\n", strError.c_str());
        return 1;
    }
    const kelo::RelayPlan& plan = options.plan;
    std::fprintf(stderr, "relay: seed %llu, delay %u ms, jitter %u ms, pieces ",
                 static_cast<unsigned long long>(plan.nSeed), plan.nDelayMs, plan.nJitterMs);
    if (plan.nPieceMax == 0)
        std::fprintf(stderr, "as read");
    else
        std::fprintf(stderr, "%u..%u bytes", plan.nPieceMin, plan.nPieceMax);
    for (const kelo::RelayStall& stall : plan.stalls)
        std::fprintf(stderr, ", stall at %.3f s for %.3f s", stall.nAtMs / 1000.0,
                     stall.nForMs / 1000.0);
    for (const uint64_t nCut : plan.cuts)
        std::fprintf(stderr, ", cut at %.3f s", nCut / 1000.0);
    std::fprintf(stderr, " (counted from the first connection)\n");
    std::printf("relay listening %s\n", relay.Address().c_str());
    std::fflush(stdout);
    return app.exec();
}
