// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

namespace kelo {

// The server's log on its standard output, written without ever blocking the server: lines wait
// in memory, up to a bound, until the output takes them. A reader that stops reading costs at
// most the bound; lines past it are dropped and counted. Violation lines (those starting with
// "violation") are written one by one up to a few a second; the rest of a second's violations
// are summarised on one line that starts with "violations" when the second is over.
class CServerLog {
public:
    static constexpr size_t DEFAULT_BOUND = 1024 * 1024;
    // Violation lines written one by one in a second; the others are summarised.
    static constexpr int VIOLATIONS_PER_SECOND = 5;
    static constexpr uint64_t SECOND_MS = 1000;
    // At the end, the output is given up when it has taken nothing for this long.
    static constexpr uint64_t FINISH_TIMEOUT_MS = 5000;

    // The descriptor stays the caller's; writes to it are made non-blocking (on a descriptor
    // of its own where the system allows, so that others sharing the output are not affected).
    explicit CServerLog(int fd, size_t bound = DEFAULT_BOUND);
    ~CServerLog();
    CServerLog(const CServerLog&) = delete;
    CServerLog& operator=(const CServerLog&) = delete;

    // One line, without its line end.
    void Line(const std::string& line, uint64_t nowMs);
    // Writes the summary of a second that is over and whatever the output takes now.
    void Tick(uint64_t nowMs);
    // Writes what the output takes now.
    void Flush();
    // The descriptor written to, and whether lines wait for it (to poll it for writing).
    int Descriptor() const { return m_fd; }
    bool Waiting() const { return m_nStart < m_buffer.size() && !m_bBroken; }
    size_t Buffered() const { return m_buffer.size() - m_nStart; }
    size_t Dropped() const { return m_nDropped; }
    // The end: the pending summary, the last line (kept whatever the bound), then waits for the
    // output to take everything, giving up after FINISH_TIMEOUT_MS without progress.
    void Finish(const std::string& last);

private:
    void Append(const std::string& line, bool always);
    void Summarise();

    int m_fd = -1;
    // A descriptor of its own that this log opened, or -1; otherwise the flags it changed.
    int m_nOwnFd = -1;
    int m_nRestoreFlags = -1;
    size_t m_nBound;
    std::string m_buffer;
    size_t m_nStart = 0;
    size_t m_nDropped = 0;
    // The output is gone (its reader closed it): nothing more is kept.
    bool m_bBroken = false;
    // The current second of violations: when it began, lines written, and the ones held back
    // with the clients they came from.
    uint64_t m_nSecondStart = 0;
    int m_nShown = 0;
    int m_nHeld = 0;
    std::set<std::string> m_heldClients;
};

} // namespace kelo
