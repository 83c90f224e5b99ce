// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelo {

// The events of the socket control, delivered on the GUI thread, never from inside a call on
// the control.
class ISocketEvents {
public:
    virtual ~ISocketEvents() = default;
    // 1: the connection is open; 0: the attempt failed.
    virtual void OnConnect(int16_t result) = 0;
    // One block of exactly the size that the last RecvData asked for, in stream order. The
    // bytes are valid during the call only.
    virtual void OnReceive(const uint8_t* data, size_t count) = 0;
    // The open connection was closed by the peer or failed. Raised once, when a block is asked
    // for that can no longer arrive: every block that arrived before the close is delivered
    // first. Never raised for a CloseSocket.
    virtual void OnClose() {}
};

// The TCP connection to the game server. The table never touches sockets itself.
class ISocketControl {
public:
    virtual ~ISocketControl() = default;
    virtual void SetEvents(ISocketEvents* events) = 0;
    // Harmless without a connection; a block asked for and not yet delivered is forgotten.
    virtual void CloseSocket() = 0;
    // Answers through OnConnect.
    virtual bool Connect(const std::string& host, int32_t port) = 0;
    // Copies the bytes during the call; false when there is no connection to send them on.
    virtual bool SendData(const uint8_t* data, size_t count) = 0;
    // Proxy kinds: 1 to 4 as the hall chooses them (the implementation says what each means).
    virtual void UseProxy(int16_t kind, const std::string& host, int32_t port) = 0;
    virtual void UseProxyAuth(int16_t kind, const std::string& host, int32_t port,
                              const std::string& user, const std::string& password) = 0;
    // Asks for the next block of count bytes; one OnReceive answers it.
    virtual bool RecvData(size_t count) = 0;
};

} // namespace kelo
