// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/IEngineProcess.h"

#include <string>
#include <utility>
#include <vector>

namespace kelo::test {

// An engine's process in the test's hands: it keeps what is written to it, and the test speaks
// the engine's lines (Say) or ends it (Die) when it wants, as the loop would deliver them.
class FakeEngineProcess : public IEngineProcess {
public:
    void SetEvents(IEngineProcessEvents* events) override { m_pEvents = events; }
    void Start(const std::string& program, const std::vector<std::string>& args) override {
        m_strProgram = program;
        m_args = args;
        m_bRunning = true;
        ++m_nStarts;
    }
    void WriteLine(const std::string& line) override {
        if (m_bRunning)
            m_written.push_back(line);
    }
    void Stop() override {
        m_bRunning = false;
        ++m_nStops;
    }

    // The lines written since the last call.
    std::vector<std::string> Take() { return std::exchange(m_written, {}); }
    void Say(const std::string& line) {
        if (m_pEvents != nullptr)
            m_pEvents->OnEngineLine(line);
    }
    void SayAll(const std::vector<std::string>& lines) {
        for (const std::string& line : lines)
            Say(line);
    }
    // The process ends by itself (a crash): reported like the real port does, once.
    void Die(const std::string& why) {
        m_bRunning = false;
        if (m_pEvents != nullptr)
            m_pEvents->OnEngineGone(why);
    }

    bool Running() const { return m_bRunning; }
    int Starts() const { return m_nStarts; }
    int Stops() const { return m_nStops; }
    const std::string& Program() const { return m_strProgram; }
    const std::vector<std::string>& Args() const { return m_args; }
    IEngineProcessEvents* Events() const { return m_pEvents; }

private:
    IEngineProcessEvents* m_pEvents = nullptr;
    std::vector<std::string> m_written;
    std::string m_strProgram;
    std::vector<std::string> m_args;
    bool m_bRunning = false;
    int m_nStarts = 0;
    int m_nStops = 0;
};

} // namespace kelo::test
