// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/IMessageSender.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelo {

class CTableMode;
class IOwnSeat;
class CMessageSinkRegistry;
class IEventLoop;
class ISocketControl;
class ITimerSink;
struct MSG_SEQUENCE_START_BODY;

// The one sender of a table client: numbers every message, adds the digests and passes the
// bytes to the socket control. In local mode there is no server, and what is sent goes straight
// to the table's own windows.
class CCommunicationLayer : public IMessageSender {
public:
    static constexpr uint32_t INITIAL_SEQUENCE_CLIENT = 5588;
    static constexpr uint32_t INITIAL_SEQUENCE_COMM = 2593;
    static constexpr uint32_t INITIAL_SEQUENCE_SERVER = 0;
    // Timer 3 of the frame: a keep-alive after 30 s without a send.
    static constexpr uint32_t KEEP_ALIVE_TIMER = 3;
    static constexpr uint32_t KEEP_ALIVE_PERIOD_MS = 30000;

    // The mode says whether there is a server and what this client may send; the own seat
    // names the sender of the older leave message.
    CCommunicationLayer(const CTableMode& mode, const IOwnSeat& ownSeat)
        : m_mode(mode), m_ownSeat(ownSeat) {}
    CCommunicationLayer(const CCommunicationLayer&) = delete;
    CCommunicationLayer& operator=(const CCommunicationLayer&) = delete;

    // Where the bytes go: the socket control, the windows (local mode) and the owner of the
    // keep-alive timer. Until attached, messages are numbered but go nowhere.
    void Attach(ISocketControl* socket, CMessageSinkRegistry* registry, IEventLoop* loop,
                ITimerSink* timerOwner);
    void Detach();

    // Set once the connection is open; never cleared.
    void SetConnected() { m_bConnected = true; }
    bool IsConnected() const { return m_bConnected; }

    // The generic send; the body is already in wire order.
    void SendMessage(uint16_t type, const uint8_t* body, size_t length) override;
    // The same for a body record, which converts its own fields.
    template <class Body> void Send(uint16_t type, const Body& body) {
        const auto bytes = body.ToWire();
        SendMessage(type, bytes.data(), bytes.size());
    }
    // Only in the numbered exchange with a server.
    void SendKeepAlive();

    // The server starts the numbered exchange: the counters are loaded and a keep-alive goes
    // out at once.
    void StartSequence(const MSG_SEQUENCE_START_BODY& body);
    // Back to the start values, as before any connection.
    void ResetSequence();
    // On once the server has started the numbered exchange (its sequence start message).
    bool SequenceMode() const { return m_bSequenceMode; }

    // Whether the table role lets this type out: a watcher may only enter, chat, leave and
    // keep the connection alive.
    static bool IsAllowedForWatcher(uint16_t type);

    uint32_t m_nSequence_Client = INITIAL_SEQUENCE_CLIENT;
    uint32_t m_nSequence_Comm = INITIAL_SEQUENCE_COMM;
    uint32_t m_nSequence_Server = INITIAL_SEQUENCE_SERVER;

private:
    void SendFrame(uint16_t type, const uint8_t* body, size_t length);
    void RestartKeepAliveTimer();

    const CTableMode& m_mode;
    const IOwnSeat& m_ownSeat;
    bool m_bSequenceMode = false;
    ISocketControl* m_pSocket = nullptr;
    CMessageSinkRegistry* m_pRegistry = nullptr;
    IEventLoop* m_pLoop = nullptr;
    ITimerSink* m_pTimerOwner = nullptr;
    bool m_bConnected = false;
};

} // namespace kelo
