// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/qt/SocketControl.h"

#include <QByteArray>
#include <QMetaObject>

namespace kelo {

namespace {
// Room for two of the largest blocks; beyond it TCP holds the peer back.
constexpr qint64 READ_BUFFER = 2 * SocketControl::MAX_BLOCK;

bool IsPort(int32_t port) {
    return port > 0 && port <= 65535;
}
} // namespace

SocketControl::SocketControl(QObject* parent) : QObject(parent) {
    m_socket.setReadBufferSize(READ_BUFFER);
    connect(&m_socket, &QTcpSocket::connected, this, &SocketControl::OnConnected);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &SocketControl::OnError);
    connect(&m_socket, &QTcpSocket::readyRead, this, &SocketControl::TryDeliver);
    connect(&m_socket, &QTcpSocket::disconnected, this, &SocketControl::OnDisconnected);
}

SocketControl::~SocketControl() {
    // The socket goes after this object's own part; it must not call back into it on the way.
    m_socket.disconnect(this);
    m_pEvents = nullptr;
    m_socket.abort();
}

void SocketControl::Raise(std::function<void(ISocketEvents&)> event) {
    const uint64_t generation = m_nGeneration;
    QMetaObject::invokeMethod(
        this,
        [this, generation, event = std::move(event)] {
            if (generation == m_nGeneration && m_pEvents != nullptr)
                event(*m_pEvents);
        },
        Qt::QueuedConnection);
}

void SocketControl::CloseSocket() {
    ++m_nGeneration;
    m_nWanted = 0;
    m_bConnecting = false;
    m_bOpen = false;
    m_bPeerClosed = false;
    m_socket.abort();
}

bool SocketControl::Connect(const std::string& host, int32_t port) {
    CloseSocket();
    if (!IsPort(port) || m_bProxyUnusable) {
        Raise([](ISocketEvents& events) { events.OnConnect(0); });
        return false;
    }
    m_bConnecting = true;
    m_socket.setProxy(m_proxy);
    m_socket.connectToHost(QString::fromStdString(host), static_cast<quint16>(port));
    return true;
}

void SocketControl::OnConnected() {
    m_bConnecting = false;
    m_bOpen = true;
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    Raise([](ISocketEvents& events) { events.OnConnect(1); });
}

void SocketControl::OnError() {
    if (!m_bConnecting) {
        // An open connection that fails is as good as closed.
        OnDisconnected();
        return;
    }
    m_bConnecting = false;
    Raise([](ISocketEvents& events) { events.OnConnect(0); });
}

void SocketControl::OnDisconnected() {
    if (!m_bOpen)
        return;
    m_bOpen = false;
    m_bPeerClosed = true;
    TryDeliver();
}

bool SocketControl::SendData(const uint8_t* data, size_t count) {
    if (m_socket.state() != QAbstractSocket::ConnectedState || data == nullptr)
        return false;
    const auto written =
        m_socket.write(reinterpret_cast<const char*>(data), static_cast<qint64>(count));
    return written == static_cast<qint64>(count);
}

void SocketControl::UseProxy(int16_t kind, const std::string& host, int32_t port) {
    SetProxy(kind, host, port, {}, {});
}

void SocketControl::UseProxyAuth(int16_t kind, const std::string& host, int32_t port,
                                 const std::string& user, const std::string& password) {
    SetProxy(kind, host, port, user, password);
}

void SocketControl::SetProxy(int16_t kind, const std::string& host, int32_t port,
                             const std::string& user, const std::string& password) {
    m_proxy = ProxyFor(kind, host, port, user, password);
    m_bProxyUnusable =
        !IsPort(port) && ProxyFor(kind, host, 1, user, password).type() != QNetworkProxy::NoProxy;
}

QNetworkProxy SocketControl::ProxyFor(int16_t kind, const std::string& host, int32_t port,
                                      const std::string& user, const std::string& password) {
    QNetworkProxy::ProxyType type = QNetworkProxy::NoProxy;
    switch (kind) {
    case 1:
        type = QNetworkProxy::HttpProxy;
        break;
    case 2:
    case 3:
    case 4:
        type = QNetworkProxy::Socks5Proxy;
        break;
    default:
        return QNetworkProxy(QNetworkProxy::NoProxy);
    }
    if (!IsPort(port))
        return QNetworkProxy(QNetworkProxy::NoProxy);
    return QNetworkProxy(type, QString::fromStdString(host), static_cast<quint16>(port),
                         QString::fromStdString(user), QString::fromStdString(password));
}

bool SocketControl::RecvData(size_t count) {
    if (count == 0 || count > MAX_BLOCK)
        return false;
    m_nWanted = count;
    TryDeliver();
    return true;
}

void SocketControl::TryDeliver() {
    if (m_nWanted == 0)
        return;
    if (m_socket.bytesAvailable() < static_cast<qint64>(m_nWanted)) {
        // Whatever arrived before the close has been asked for and delivered: no more comes.
        if (m_bPeerClosed) {
            m_bPeerClosed = false;
            Raise([](ISocketEvents& events) { events.OnClose(); });
        }
        return;
    }
    const QByteArray block = m_socket.read(static_cast<qint64>(m_nWanted));
    m_nWanted = 0;
    Raise([block](ISocketEvents& events) {
        events.OnReceive(reinterpret_cast<const uint8_t*>(block.constData()),
                         static_cast<size_t>(block.size()));
    });
}

} // namespace kelo
