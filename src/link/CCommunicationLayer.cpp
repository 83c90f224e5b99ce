// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/CCommunicationLayer.h"

#include "link/CMessageSinkRegistry.h"
#include "link/CTableMode.h"
#include "link/IOwnSeat.h"
#include "link/MSG_LEAVE_SEAT.h"
#include "link/MSG_SEQUENCE_START.h"
#include "link/MessageFrame.h"
#include "link/MessageTypes.h"
#include "ports/IEventLoop.h"
#include "ports/ISocketControl.h"

namespace kelo {

void CCommunicationLayer::Attach(ISocketControl* socket, CMessageSinkRegistry* registry,
                                 IEventLoop* loop, ITimerSink* timerOwner) {
    m_pSocket = socket;
    m_pRegistry = registry;
    m_pLoop = loop;
    m_pTimerOwner = timerOwner;
}

void CCommunicationLayer::Detach() {
    Attach(nullptr, nullptr, nullptr, nullptr);
}

bool CCommunicationLayer::IsAllowedForWatcher(uint16_t type) {
    switch (type) {
    case MSG_ENTER_TABLE:
    case MSG_TABLE_CHAT_OLD:
    case MSG_KEEP_ALIVE:
    case MSG_TABLE_CHAT:
    case MSG_LEAVE_TABLE:
    case MSG_LEAVE_WATCH:
        return true;
    default:
        return false;
    }
}

void CCommunicationLayer::SendMessage(uint16_t type, const uint8_t* body, size_t length) {
    if (length > frame::MAX_BODY || (length > 0 && body == nullptr))
        return;
    if (!m_mode.LocalMode() && !m_bConnected)
        return;
    if (m_mode.Role() != TableRole::Player && !IsAllowedForWatcher(type))
        return;
    if (m_mode.LocalMode()) {
        // No server: the table's own windows get the message as if it had come back.
        if (m_pRegistry != nullptr)
            m_pRegistry->HandOn(type, body, static_cast<uint32_t>(length));
        return;
    }
    if (!m_bSequenceMode) {
        // Before the numbered exchange the server knows the chat and the leave message only in
        // their older forms.
        if (type == MSG_TABLE_CHAT) {
            type = MSG_TABLE_CHAT_OLD;
        } else if (type == MSG_LEAVE_TABLE) {
            // Sent as any other message: a watcher may not send it.
            MSG_LEAVE_SEAT_BODY seat;
            if (m_ownSeat.OwnSeat(seat.id, seat.seatno)) {
                const auto bytes = seat.ToWire();
                SendMessage(MSG_LEAVE_SEAT, bytes.data(), bytes.size());
                return;
            }
        }
    }
    SendFrame(type, body, length);
}

void CCommunicationLayer::SendFrame(uint16_t type, const uint8_t* body, size_t length) {
    if (m_bSequenceMode)
        ++m_nSequence_Client;
    const std::vector<uint8_t> bytes =
        frame::BuildClientFrame(type, body, length, m_nSequence_Client, m_nSequence_Comm);
    if (m_pSocket != nullptr && !bytes.empty())
        m_pSocket->SendData(bytes.data(), bytes.size());
    RestartKeepAliveTimer();
}

void CCommunicationLayer::SendKeepAlive() {
    if (m_mode.LocalMode() || !m_bSequenceMode)
        return;
    SendFrame(MSG_KEEP_ALIVE, nullptr, 0);
}

void CCommunicationLayer::StartSequence(const MSG_SEQUENCE_START_BODY& body) {
    m_nSequence_Client = body.sequenceClient;
    m_bSequenceMode = true;
    m_nSequence_Comm = body.sequenceComm;
    m_nSequence_Server = body.sequenceServer;
    SendKeepAlive();
}

void CCommunicationLayer::ResetSequence() {
    m_nSequence_Client = INITIAL_SEQUENCE_CLIENT;
    m_nSequence_Comm = INITIAL_SEQUENCE_COMM;
    m_nSequence_Server = INITIAL_SEQUENCE_SERVER;
    m_bSequenceMode = false;
}

void CCommunicationLayer::RestartKeepAliveTimer() {
    if (m_pLoop != nullptr && m_pTimerOwner != nullptr)
        m_pLoop->SetTimer(m_pTimerOwner, KEEP_ALIVE_TIMER, KEEP_ALIVE_PERIOD_MS);
}

} // namespace kelo
