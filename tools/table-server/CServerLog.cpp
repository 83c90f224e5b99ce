// SPDX-License-Identifier: GPL-3.0-or-later
#include "CServerLog.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace kelo {

namespace {

constexpr char VIOLATION[] = "violation";
// Clients named in one summary at most.
constexpr size_t SUMMARY_CLIENTS = 8;
// A buffer emptied down from more than this gives its memory back.
constexpr size_t KEEP_CAPACITY = 64 * 1024;

uint64_t SteadyMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

CServerLog::CServerLog(int fd, size_t bound) : m_fd(fd), m_nBound(bound) {
    struct stat info {};
    if (fstat(fd, &info) != 0 || S_ISREG(info.st_mode))
        return; // a file takes what is written at once
    // A pipe or a terminal opened anew is a description of this log's own, whose flags nobody
    // else sees; where that fails (a socket), the shared descriptor is made non-blocking and
    // given back as it was at the end.
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    const int own = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    struct stat ownInfo {};
    if (own >= 0 && fstat(own, &ownInfo) == 0 && ownInfo.st_dev == info.st_dev &&
        ownInfo.st_ino == info.st_ino) {
        m_fd = m_nOwnFd = own;
        return;
    }
    if (own >= 0)
        close(own);
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0 && (flags & O_NONBLOCK) == 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0)
        m_nRestoreFlags = flags;
}

CServerLog::~CServerLog() {
    if (m_nOwnFd >= 0)
        close(m_nOwnFd);
    if (m_nRestoreFlags >= 0)
        fcntl(m_fd, F_SETFL, m_nRestoreFlags);
}

void CServerLog::Line(const std::string& line, uint64_t nowMs) {
    if (line.compare(0, sizeof VIOLATION - 1, VIOLATION) != 0) {
        Append(line, false);
        return;
    }
    if (nowMs - m_nSecondStart >= SECOND_MS) {
        Summarise();
        m_nSecondStart = nowMs;
        m_nShown = 0;
    }
    if (m_nShown < VIOLATIONS_PER_SECOND) {
        ++m_nShown;
        Append(line, false);
        return;
    }
    ++m_nHeld;
    // "violation client N ...": the client it came from.
    const std::string prefix = "violation client ";
    if (line.compare(0, prefix.size(), prefix) == 0 && m_heldClients.size() <= SUMMARY_CLIENTS)
        m_heldClients.insert(
            line.substr(prefix.size(), line.find(' ', prefix.size()) - prefix.size()));
}

void CServerLog::Tick(uint64_t nowMs) {
    if (m_nHeld > 0 && nowMs - m_nSecondStart >= SECOND_MS) {
        Summarise();
        m_nSecondStart = nowMs;
        m_nShown = 0;
    }
    Flush();
}

void CServerLog::Summarise() {
    if (m_nHeld == 0)
        return;
    std::string line =
        "violations: " + std::to_string(m_nHeld) + " more within a second, not shown one by one";
    if (!m_heldClients.empty()) {
        line += m_heldClients.size() == 1 ? " (client" : " (clients";
        size_t named = 0;
        for (const std::string& client : m_heldClients) {
            if (++named > SUMMARY_CLIENTS) {
                line += " and others";
                break;
            }
            line += " " + client;
        }
        line += ")";
    }
    m_nHeld = 0;
    m_heldClients.clear();
    Append(line, false);
}

void CServerLog::Append(const std::string& line, bool always) {
    if (m_bBroken)
        return;
    if (!always && Buffered() + line.size() + 1 > m_nBound) {
        ++m_nDropped;
        return;
    }
    if (m_nDropped > 0) {
        const std::string note =
            "log: " + std::to_string(m_nDropped) + " lines dropped, the output did not take them";
        if (always || Buffered() + note.size() + line.size() + 2 <= m_nBound) {
            m_buffer += note;
            m_buffer += '\n';
            m_nDropped = 0;
        }
    }
    m_buffer += line;
    m_buffer += '\n';
    Flush();
}

void CServerLog::Flush() {
    while (Waiting()) {
        const ssize_t n = write(m_fd, m_buffer.data() + m_nStart, m_buffer.size() - m_nStart);
        if (n > 0) {
            m_nStart += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
                // The reader has gone: nothing written from now on can reach anyone.
                m_bBroken = true;
                m_buffer.clear();
                m_nStart = 0;
            }
            break;
        }
    }
    if (m_nStart == m_buffer.size()) {
        m_buffer.clear();
        m_nStart = 0;
        if (m_buffer.capacity() > KEEP_CAPACITY)
            m_buffer.shrink_to_fit();
    } else if (m_nStart > KEEP_CAPACITY && m_nStart > m_buffer.size() / 2) {
        m_buffer.erase(0, m_nStart);
        m_nStart = 0;
    }
}

void CServerLog::Finish(const std::string& last) {
    Summarise();
    Append(last, true);
    uint64_t progress = SteadyMs();
    while (Waiting()) {
        const size_t before = Buffered();
        pollfd out{m_fd, POLLOUT, 0};
        const uint64_t now = SteadyMs();
        if (now - progress >= FINISH_TIMEOUT_MS)
            break;
        poll(&out, 1, static_cast<int>(FINISH_TIMEOUT_MS - (now - progress)));
        Flush();
        if (Buffered() != before)
            progress = SteadyMs();
    }
}

} // namespace kelo
