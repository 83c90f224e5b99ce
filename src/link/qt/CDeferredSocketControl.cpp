// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/qt/CDeferredSocketControl.h"

#include "link/qt/SocketModule.h"

#include <QTimer>

namespace kelo {

CDeferredSocketControl::CDeferredSocketControl(QStringList modulePaths)
    : m_module(std::move(modulePaths)) {}

CDeferredSocketControl::~CDeferredSocketControl() = default;

QStringList CDeferredSocketControl::DefaultModulePaths() {
    return CProgramModule::PathsOf(QStringLiteral("kelo-link"));
}

ISocketControl* CDeferredSocketControl::Socket() {
    if (m_pSocket == nullptr) {
        if (auto create =
                reinterpret_cast<CreateSocketControl>(m_module.Entry(CREATE_SOCKET_CONTROL))) {
            m_pSocket.reset(create());
            m_pSocket->SetEvents(m_pEvents);
        }
    }
    return m_pSocket.get();
}

void CDeferredSocketControl::SetEvents(ISocketEvents* events) {
    m_pEvents = events;
    if (m_pSocket != nullptr)
        m_pSocket->SetEvents(events);
}

void CDeferredSocketControl::CloseSocket() {
    // Never connected: nothing to close, and no reason to load the module.
    if (m_pSocket != nullptr)
        m_pSocket->CloseSocket();
}

bool CDeferredSocketControl::Connect(const std::string& host, int32_t port) {
    if (ISocketControl* socket = Socket())
        return socket->Connect(host, port);
    // Answered as an unreachable server is, after the call: the table retries and tells the
    // user instead of waiting for an answer that never comes.
    QTimer::singleShot(0, &m_failures, [this] {
        if (m_pEvents != nullptr)
            m_pEvents->OnConnect(0);
    });
    return false;
}

bool CDeferredSocketControl::SendData(const uint8_t* data, size_t count) {
    // Nothing can be sent before a connection was asked for.
    return m_pSocket != nullptr && m_pSocket->SendData(data, count);
}

void CDeferredSocketControl::UseProxy(int16_t kind, const std::string& host, int32_t port) {
    if (ISocketControl* socket = Socket())
        socket->UseProxy(kind, host, port);
}

void CDeferredSocketControl::UseProxyAuth(int16_t kind, const std::string& host, int32_t port,
                                          const std::string& user, const std::string& password) {
    if (ISocketControl* socket = Socket())
        socket->UseProxyAuth(kind, host, port, user, password);
}

bool CDeferredSocketControl::RecvData(size_t count) {
    ISocketControl* socket = Socket();
    return socket != nullptr && socket->RecvData(count);
}

} // namespace kelo
