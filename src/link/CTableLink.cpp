// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/CTableLink.h"

#include "link/CCommunicationLayer.h"
#include "link/MSG_SEQUENCE_START.h"
#include "link/MessageTypes.h"
#include "ports/IPrompts.h"

#include <cstdio>

namespace kelo {

CTableLink::CTableLink(CCommunicationLayer& sender, IPrompts& prompts, IEventLoop& loop,
                       ISocketControl& socket)
    : m_sender(sender), m_prompts(prompts), m_loop(loop), m_socket(socket), m_registry(loop),
      m_reader(*this) {
    m_sender.Attach(&m_socket, &m_registry, &m_loop, this);
    m_socket.SetEvents(this);
}

CTableLink::~CTableLink() {
    m_socket.SetEvents(nullptr);
    m_sender.Detach();
    m_loop.KillTimers(this);
}

void CTableLink::OnConnect(int16_t result) {
    if (result == 1) {
        m_bHeard = false;
        m_sender.SetConnected();
        if (m_pObserver != nullptr)
            m_pObserver->OnConnect(result);
        m_reader.Start();
        return;
    }
    if (m_pObserver != nullptr)
        m_pObserver->OnConnect(result);
}

void CTableLink::OnReceive(const uint8_t* data, size_t count) {
    m_loop.SetTimer(this, RECEIVE_TIMER, RECEIVE_PERIOD_MS);
    m_bHeard = true;
    m_reader.OnReceive(data, count);
}

void CTableLink::OnClose() {
    // Waiting for the watchdog would only delay the reconnection.
    m_socket.CloseSocket();
    m_loop.KillTimer(this, RECEIVE_TIMER);
    if (m_pObserver != nullptr)
        m_pObserver->OnConnectionClosed(m_bHeard);
}

void CTableLink::OnTimer(uint32_t id) {
    if (id == CCommunicationLayer::KEEP_ALIVE_TIMER) {
        m_sender.SendKeepAlive();
        return;
    }
    if (m_pObserver != nullptr)
        m_pObserver->OnTimer(id);
    else
        m_loop.KillTimer(this, id);
}

void CTableLink::RecvData(uint32_t count) {
    m_socket.RecvData(count);
}

void CTableLink::OnHeadDigestMismatch(uint16_t type, uint32_t length) {
    char text[96];
    std::snprintf(text, sizeof text, "信息传输错误！type=%d,length=%d\n", static_cast<int>(type),
                  static_cast<int>(length));
    m_prompts.ShowNotice(text);
}

bool CTableLink::OnMessage(uint16_t type, const uint8_t* body, uint32_t length) {
    // A short start message cannot be trusted for counters; it is only handed on.
    if (type == MSG_SEQUENCE_START && length >= MSG_SEQUENCE_START_BODY::SIZE)
        m_sender.StartSequence(MSG_SEQUENCE_START_BODY::FromWire(body));
    if (m_pObserver != nullptr)
        return m_pObserver->OnConnectionMessage(type, body, length);
    return true;
}

void CTableLink::HandOn(uint16_t type, const uint8_t* body, uint32_t length) {
    m_registry.HandOn(type, body, length);
}

void CTableLink::OnBroken() {
    m_socket.CloseSocket();
    m_loop.KillTimer(this, RECEIVE_TIMER);
    if (m_pObserver != nullptr)
        m_pObserver->OnConnectionLost();
}

} // namespace kelo
