// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelo {

// The program of a chess engine and its arguments, as its process is started with them.
struct EngineCommand {
    std::string program;
    std::vector<std::string> args;
};

// Finds the chess engine to start: the command the user configured, else stockfish on the
// search path, else at the fixed place where Debian installs it.
class CEngineLocator {
public:
    struct Result {
        // Nothing when no engine was found.
        std::optional<EngineCommand> command;
        // Then what the user is told: what is missing and how to get an engine.
        std::string message;
    };

    // The engine looked for when none is configured.
    static constexpr const char* DEFAULT_ENGINE = "stockfish";

    // Searches the process's PATH, then /usr/games/stockfish.
    CEngineLocator();
    // Searches the given path (folders separated by ':'), then the given programs in order.
    CEngineLocator(std::string searchPath, std::vector<std::string> fallbacks);

    // configured: a program's path or name with its arguments, all split by spaces (no
    // quoting); empty or blank when none is configured. A configured program that is not
    // found is reported as such; no other engine is taken in its place.
    Result Locate(const std::string& configured = {}) const;

    // A name is looked up on the search path; a path (with a '/') is taken as it is.
    std::optional<std::string> FindProgram(const std::string& program) const;

private:
    std::string m_strSearchPath;
    std::vector<std::string> m_fallbacks;
};

} // namespace kelo
