// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/CMessageReader.h"
#include "link/CMessageSinkRegistry.h"
#include "ports/IEventLoop.h"
#include "ports/ISocketControl.h"

#include <cstdint>

namespace kelo {

class CCommunicationLayer;
class IPrompts;
class IMessageSink;

// The link half of the main frame: it listens to the socket control, runs the reader over the
// stream, keeps the registry of windows that get the received messages and owns the frame's
// link timers (3, the keep-alive; 7, the receive watchdog). What the frame decides itself
// (connection messages, reconnection) goes to its observer.
class CTableLink : public CMessageReader::IHost, public ISocketEvents, public ITimerSink {
public:
    static constexpr uint32_t RECEIVE_TIMER = 7;
    static constexpr uint32_t RECEIVE_PERIOD_MS = 45000;

    class IObserver {
    public:
        virtual ~IObserver() = default;
        // After the link's own handling of a connection result.
        virtual void OnConnect(int16_t) {}
        // Connection messages the frame acts on; false closes the table and stops reading.
        virtual bool OnConnectionMessage(uint16_t, const uint8_t*, uint32_t) { return true; }
        // The stream could not be read on; the socket is already closed.
        virtual void OnConnectionLost() {}
        // The server closed the connection, or it failed; the socket is already closed. heard:
        // something arrived since the connection opened.
        virtual void OnConnectionClosed(bool /*heard*/) {}
        // The frame's timers other than the keep-alive (the receive watchdog among them).
        virtual void OnTimer(uint32_t) {}
    };

    // Attaches itself to the table's sender and to the socket control's events; the prompts
    // tell the user of a damaged message.
    CTableLink(CCommunicationLayer& sender, IPrompts& prompts, IEventLoop& loop,
               ISocketControl& socket);
    ~CTableLink() override;
    CTableLink(const CTableLink&) = delete;
    CTableLink& operator=(const CTableLink&) = delete;

    void SetObserver(IObserver* observer) { m_pObserver = observer; }
    void RegisterSink(IMessageSink* sink) { m_registry.RegisterSink(sink); }
    void UnregisterSink(IMessageSink* sink) { m_registry.UnregisterSink(sink); }
    CMessageSinkRegistry& Registry() { return m_registry; }
    CMessageReader& Reader() { return m_reader; }

    // ISocketEvents
    void OnConnect(int16_t result) override;
    void OnReceive(const uint8_t* data, size_t count) override;
    void OnClose() override;
    // ITimerSink
    void OnTimer(uint32_t id) override;

private:
    // CMessageReader::IHost
    void RecvData(uint32_t count) override;
    void OnHeadDigestMismatch(uint16_t type, uint32_t length) override;
    bool OnMessage(uint16_t type, const uint8_t* body, uint32_t length) override;
    void HandOn(uint16_t type, const uint8_t* body, uint32_t length) override;
    void OnBroken() override;

    CCommunicationLayer& m_sender;
    IPrompts& m_prompts;
    IEventLoop& m_loop;
    ISocketControl& m_socket;
    CMessageSinkRegistry m_registry;
    CMessageReader m_reader;
    IObserver* m_pObserver = nullptr;
    // Something arrived on the connection open now.
    bool m_bHeard = false;
};

} // namespace kelo
