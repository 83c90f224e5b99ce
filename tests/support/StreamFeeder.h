// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/FakeSocketControl.h"
#include "support/ManualEventLoop.h"

#include <cstdint>
#include <vector>

namespace kelo::test {

// Plays the server's side of a fake socket: bytes given to Stream are cut into exactly the
// blocks the reader asks for, and the tasks they post are run.
class StreamFeeder {
public:
    StreamFeeder(FakeSocketControl& socket, ManualEventLoop& loop) : m_socket(socket), m_loop(loop) {}

    void Stream(const std::vector<uint8_t>& bytes) {
        m_pending.insert(m_pending.end(), bytes.begin(), bytes.end());
        while (m_nServed < m_socket.requests.size() &&
               m_pending.size() >= m_socket.requests[m_nServed]) {
            const size_t n = m_socket.requests[m_nServed++];
            std::vector<uint8_t> block(m_pending.begin(), m_pending.begin() + n);
            m_pending.erase(m_pending.begin(), m_pending.begin() + n);
            m_socket.Deliver(block);
        }
        m_loop.RunPending();
    }
    // Forgets what was asked for before, as after a new connection.
    void Restart() {
        m_pending.clear();
        m_nServed = m_socket.requests.size();
    }

private:
    FakeSocketControl& m_socket;
    ManualEventLoop& m_loop;
    std::vector<uint8_t> m_pending;
    size_t m_nServed = 0;
};

} // namespace kelo::test
