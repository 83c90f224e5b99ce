// SPDX-License-Identifier: GPL-3.0-or-later
#include "CClientSockets.h"

#include "CServerLog.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace kelo {

namespace {

// An outbox emptied down from more than this gives its memory back.
constexpr size_t KEEP_CAPACITY = 64 * 1024;

} // namespace

CClientSockets::~CClientSockets() {
    CloseAll();
}

void CClientSockets::Send(int fd, const uint8_t* data, size_t count) {
    auto it = m_unsent.find(fd);
    if (it == m_unsent.end() || m_dropped.count(fd) != 0)
        return;
    Outbox& out = it->second;
    if (out.Size() == 0) {
        // Nothing waits: what the socket takes now needs no copy.
        const ssize_t n = send(fd, data, count, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            data += n;
            count -= static_cast<size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            m_closing.push_back(fd);
            return;
        }
    }
    if (count == 0)
        return;
    // Grown by a quarter at a time, so that what the bounds count is close to what is held.
    if (out.data.size() + count > out.data.capacity())
        out.data.reserve(std::max(out.data.size() + count,
                                  out.data.capacity() + out.data.capacity() / 4 + 4096));
    out.data.insert(out.data.end(), data, data + count);
    m_nTotal += count;
    if (out.Size() > m_nClientBound) {
        MarkDropped(fd, out, "does not read, " + std::to_string(out.Size()) + " bytes unsent");
        return;
    }
    while (m_nTotal > m_nTotalBound) {
        auto most = m_unsent.begin();
        for (auto other = m_unsent.begin(); other != m_unsent.end(); ++other) {
            if (other->second.Size() > most->second.Size())
                most = other;
        }
        MarkDropped(most->first, most->second,
                    "does not read, " + std::to_string(most->second.Size()) +
                        " bytes unsent, the most of all clients");
    }
}

void CClientSockets::MarkDropped(int fd, Outbox& out, const std::string& why) {
    m_dropped[fd] = why;
    Forget(out);
}

void CClientSockets::Forget(Outbox& out) {
    m_nTotal -= out.Size();
    out.data.clear();
    out.data.shrink_to_fit();
    out.start = 0;
}

void CClientSockets::Close(int fd) {
    m_closing.push_back(fd);
}

void CClientSockets::Report(const std::string& line) {
    m_log.Line(line, m_clock());
}

void CClientSockets::Add(int fd) {
    m_unsent[fd];
}

void CClientSockets::Flush(int fd) {
    auto it = m_unsent.find(fd);
    if (it == m_unsent.end())
        return;
    Outbox& out = it->second;
    while (out.Size() > 0) {
        const ssize_t n = send(fd, out.data.data() + out.start, out.Size(), MSG_NOSIGNAL);
        if (n > 0) {
            out.start += static_cast<size_t>(n);
            m_nTotal -= static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
                m_closing.push_back(fd);
            break;
        }
    }
    if (out.Size() == 0) {
        out.data.clear();
        out.start = 0;
        if (out.data.capacity() > KEEP_CAPACITY)
            out.data.shrink_to_fit();
    } else if (out.start > KEEP_CAPACITY && out.start > out.data.size() / 2) {
        out.data.erase(out.data.begin(), out.data.begin() + static_cast<long>(out.start));
        out.start = 0;
    }
}

std::vector<std::pair<int, std::string>> CClientSockets::TakeDropped() {
    std::vector<std::pair<int, std::string>> dropped(m_dropped.begin(), m_dropped.end());
    m_dropped.clear();
    return dropped;
}

std::vector<int> CClientSockets::TakeClosed() {
    std::vector<int> closed;
    for (int fd : m_closing) {
        auto it = m_unsent.find(fd);
        if (it == m_unsent.end())
            continue;
        Forget(it->second);
        m_unsent.erase(it);
        m_dropped.erase(fd);
        close(fd);
        closed.push_back(fd);
    }
    m_closing.clear();
    return closed;
}

std::vector<std::pair<int, bool>> CClientSockets::Sockets() const {
    std::vector<std::pair<int, bool>> sockets;
    sockets.reserve(m_unsent.size());
    for (const auto& [fd, out] : m_unsent)
        sockets.emplace_back(fd, out.Size() > 0);
    return sockets;
}

void CClientSockets::CloseAll() {
    for (auto& [fd, out] : m_unsent)
        close(fd);
    m_unsent.clear();
    m_dropped.clear();
    m_nTotal = 0;
}

} // namespace kelo
