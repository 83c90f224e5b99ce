// SPDX-License-Identifier: GPL-3.0-or-later
// kelo-relay's command line: where it listens, where the server is, and the plan of the link.
#pragma once

#include "CRelaySchedule.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelo {

struct RelayEndpoint {
    std::string strHost;
    uint16_t nPort = 0;
};

struct RelayOptions {
    RelayEndpoint listen;
    RelayEndpoint server;
    RelayPlan plan;
    bool bSeedGiven = false;
    bool bVerbose = false;
    bool bHelp = false;
};

struct RelayOptionsResult {
    RelayOptions options;
    // Empty when the command line was understood; else one line for the user.
    std::string strError;
};

// The arguments without the program's name.
RelayOptionsResult ParseRelayOptions(const std::vector<std::string>& args);

// The --help text.
std::string RelayUsage();

} // namespace kelo
