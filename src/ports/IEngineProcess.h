// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kelo {

// What an engine's process reports, on the GUI thread and never from inside a call on the
// process.
class IEngineProcessEvents {
public:
    virtual ~IEngineProcessEvents() = default;
    // One line of the engine's standard output, without its line end.
    virtual void OnEngineLine(const std::string& line) = 0;
    // The process could not be started, or it ended without being asked to (crashed or quit
    // by itself). why is one line for the log and the user. Not raised after Stop.
    virtual void OnEngineGone(const std::string& why) = 0;
};

// A chess engine as a child process spoken to through its standard input and output. The child
// ends with its parent, also when the parent is killed.
class IEngineProcess {
public:
    virtual ~IEngineProcess() = default;
    virtual void SetEvents(IEngineProcessEvents* events) = 0;
    // Starts program with its arguments. A program that cannot be started is reported through
    // OnEngineGone after the call, as is one that ends at once.
    virtual void Start(const std::string& program, const std::vector<std::string>& args) = 0;
    // Writes one line (the line end is added); nothing happens when the process is not running.
    virtual void WriteLine(const std::string& line) = 0;
    // Ends the process: its input is closed, and it is killed when it has not ended within a
    // short while. Harmless when it does not run.
    virtual void Stop() = 0;
};

} // namespace kelo
