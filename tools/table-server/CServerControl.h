// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CTableServer.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kelo {

// The lines a program that runs the server for itself (the table client's game against the
// computer) writes on the server's standard input with --control-stdin. One command a line:
//
//   time TOTAL,PACE,ADD   the clocks of the games that begin from now on, in seconds
//
// Anything else is a bad line, which the server reports and otherwise ignores.
class CServerControl {
public:
    // A line without its end longer than this is no command; it is reported as bad.
    static constexpr size_t MAX_LINE = 1024;

    struct Command {
        enum class Kind { Time, Bad };
        Kind kind = Kind::Bad;
        CTableServer::TimeSettings time;
        // The line as it came, for the report of a bad one.
        std::string line;
    };

    // Bytes as they came from the input; every line they complete is taken.
    void Feed(const char* data, size_t size);
    std::vector<Command> TakeCommands();

    // TOTAL,PACE,ADD: three numbers of seconds from 0 to 32767, which the clocks' 16-bit fields
    // hold.
    static bool ParseTime(const std::string& text, CTableServer::TimeSettings& time);

private:
    void TakeLine(const std::string& line);

    std::string m_strPartial;
    bool m_bOverlong = false;
    std::vector<Command> m_commands;
};

} // namespace kelo
