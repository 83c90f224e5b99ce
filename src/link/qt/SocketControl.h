// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/ISocketControl.h"

#include <QNetworkProxy>
#include <QObject>
#include <QTcpSocket>

#include <cstdint>
#include <functional>

namespace kelo {

// The table's TCP connection. Each RecvData is answered by one OnReceive with exactly the bytes
// asked for, in stream order, however TCP split them; the bytes wait in the socket until they
// are asked for, so a slow table only slows the sender down. Events are always queued, never
// raised from inside a call on the control, and a CloseSocket cancels what is still queued.
//
// Proxy kinds, as the hall chooses them, on the proxies Qt speaks:
//   1  HTTP proxy (CONNECT)
//   2  the hall's SOCKS4 proxy: SOCKS5 without credentials (Qt has no SOCKS4, and SOCKS
//      proxies commonly serve both)
//   3  the hall's SOCKS4 proxy with a user: SOCKS5 with credentials
//   4  SOCKS5, with credentials when the hall gives them
// Credentials given through UseProxyAuth are passed for every kind. Any other kind connects
// directly. Without a proxy call the connection is direct; the system's proxy settings are
// not used. A proxy is never bypassed: while one is set with a port outside 1-65535, every
// Connect fails, as it does for a game server port outside that range.
class SocketControl : public QObject, public ISocketControl {
    Q_OBJECT
public:
    // Larger blocks are refused: no message of the table comes near it.
    static constexpr size_t MAX_BLOCK = 128 * 1024;

    explicit SocketControl(QObject* parent = nullptr);
    ~SocketControl() override;

    void SetEvents(ISocketEvents* events) override { m_pEvents = events; }
    void CloseSocket() override;
    bool Connect(const std::string& host, int32_t port) override;
    bool SendData(const uint8_t* data, size_t count) override;
    void UseProxy(int16_t kind, const std::string& host, int32_t port) override;
    void UseProxyAuth(int16_t kind, const std::string& host, int32_t port, const std::string& user,
                      const std::string& password) override;
    bool RecvData(size_t count) override;

    static QNetworkProxy ProxyFor(int16_t kind, const std::string& host, int32_t port,
                                  const std::string& user, const std::string& password);

private:
    void OnConnected();
    void OnError();
    void OnDisconnected();
    void TryDeliver();
    void Raise(std::function<void(ISocketEvents&)> event);
    void SetProxy(int16_t kind, const std::string& host, int32_t port, const std::string& user,
                  const std::string& password);

    QTcpSocket m_socket;
    QNetworkProxy m_proxy{QNetworkProxy::NoProxy};
    // A proxy was asked for with a port it cannot have.
    bool m_bProxyUnusable = false;
    ISocketEvents* m_pEvents = nullptr;
    size_t m_nWanted = 0;
    bool m_bConnecting = false;
    // Open until CloseSocket or the peer's close.
    bool m_bOpen = false;
    // The peer closed; the close is told once the blocks that arrived before it are delivered.
    bool m_bPeerClosed = false;
    // Raised events carry the generation they belong to; a CloseSocket starts a new one.
    uint64_t m_nGeneration = 0;
};

} // namespace kelo
