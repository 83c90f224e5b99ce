// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CTableServer.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kelo {

class CServerLog;

// The server's output on real sockets: what a client is sent waits in memory until its socket
// takes it, within two bounds. A client with more than its bound unsent is dropped, and when all
// clients together have more than theirs the one with the most unsent is, so that clients that
// do not read cannot make the server grow. Drops are only noted here; the poll loop carries them
// out between the server's calls (TakeDropped, then TakeClosed).
class CClientSockets : public CTableServer::IOutput {
public:
    static constexpr size_t DEFAULT_CLIENT_BOUND = 1024 * 1024;
    static constexpr size_t DEFAULT_TOTAL_BOUND = 32 * 1024 * 1024;

    CClientSockets(CServerLog& log, uint64_t (*clock)(), size_t clientBound, size_t totalBound)
        : m_log(log), m_clock(clock), m_nClientBound(clientBound), m_nTotalBound(totalBound) {}
    ~CClientSockets() override;
    CClientSockets(const CClientSockets&) = delete;
    CClientSockets& operator=(const CClientSockets&) = delete;

    void Send(int fd, const uint8_t* data, size_t count) override;
    void Close(int fd) override;
    void Report(const std::string& line) override;

    void Add(int fd);
    // Writes what the socket takes now.
    void Flush(int fd);
    // The clients to drop for what they left unsent, with the reason.
    std::vector<std::pair<int, std::string>> TakeDropped();
    // Closes what the server or a failed write gave up; returns the closed descriptors.
    std::vector<int> TakeClosed();
    // Every open client socket and whether data waits for it.
    std::vector<std::pair<int, bool>> Sockets() const;
    size_t TotalUnsent() const { return m_nTotal; }
    void CloseAll();

private:
    struct Outbox {
        std::vector<uint8_t> data;
        size_t start = 0;
        size_t Size() const { return data.size() - start; }
    };
    void Forget(Outbox& out);
    void MarkDropped(int fd, Outbox& out, const std::string& why);

    CServerLog& m_log;
    uint64_t (*m_clock)();
    size_t m_nClientBound;
    size_t m_nTotalBound;
    size_t m_nTotal = 0;
    std::map<int, Outbox> m_unsent;
    std::map<int, std::string> m_dropped;
    std::vector<int> m_closing;
};

} // namespace kelo
