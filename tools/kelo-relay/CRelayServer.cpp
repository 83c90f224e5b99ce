// SPDX-License-Identifier: GPL-3.0-or-later
#include "CRelayServer.h"

#include <QHostAddress>
#include <QTcpSocket>

#include <cstdio>
#include <string_view>

namespace kelo {

namespace {

const char* SideName(RelayDirection direction) {
    return direction == RelayDirection::ToServer ? "client" : "server";
}

} // namespace

CRelayServer::CRelayServer(const RelayOptions& options)
    : m_options(options), m_schedule(options.plan) {
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] { Run(); });
    connect(&m_server, &QTcpServer::newConnection, this, [this] { Accept(); });
}

bool CRelayServer::Listen(std::string& strError) {
    QHostAddress address;
    if (!address.setAddress(QString::fromStdString(m_options.listen.strHost))) {
        strError = "cannot listen on " + m_options.listen.strHost + ": not an address";
        return false;
    }
    if (!m_server.listen(address, m_options.listen.nPort)) {
        strError = "cannot listen on " + m_options.listen.strHost + ":" +
                   std::to_string(m_options.listen.nPort) + ": " +
                   m_server.errorString().toStdString();
        return false;
    }
    return true;
}

std::string CRelayServer::Address() const {
    return m_server.serverAddress().toString().toStdString() + ":" +
           std::to_string(m_server.serverPort());
}

void CRelayServer::Accept() {
    while (QTcpSocket* pClient = m_server.nextPendingConnection()) {
        const int nConnection = m_schedule.Open(Now());
        Link& link = m_links[nConnection];
        link.pClient = pClient;
        link.pServer = new QTcpSocket(this);
        pClient->setParent(this);
        pClient->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        std::fprintf(stderr, "relay: connection %d from %s:%u\n", nConnection,
                     pClient->peerAddress().toString().toUtf8().constData(), pClient->peerPort());
        // The client's bytes wait in its socket until the server's side is up.
        connect(pClient, &QTcpSocket::readyRead, this,
                [this, nConnection] { Read(nConnection, RelayDirection::ToServer); });
        connect(pClient, &QTcpSocket::disconnected, this,
                [this, nConnection] { Ended(nConnection, RelayDirection::ToServer); });
        QTcpSocket* pServer = link.pServer;
        connect(pServer, &QTcpSocket::connected, this, [this, nConnection, pServer] {
            pServer->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            const auto found = m_links.find(nConnection);
            if (found == m_links.end())
                return;
            found->second.bServerUp = true;
            std::fprintf(stderr, "relay: connection %d joined to the server\n", nConnection);
            Read(nConnection, RelayDirection::ToServer);
            if (found->second.pClient->state() != QAbstractSocket::ConnectedState)
                Ended(nConnection, RelayDirection::ToServer);
        });
        connect(pServer, &QTcpSocket::readyRead, this,
                [this, nConnection] { Read(nConnection, RelayDirection::ToClient); });
        connect(pServer, &QTcpSocket::disconnected, this,
                [this, nConnection] { Ended(nConnection, RelayDirection::ToClient); });
        connect(pServer, &QTcpSocket::errorOccurred, this,
                [this, nConnection, pServer](QAbstractSocket::SocketError) {
                    const auto found = m_links.find(nConnection);
                    if (found != m_links.end() && !found->second.bServerUp)
                        Failed(nConnection, pServer->errorString());
                });
        pServer->connectToHost(QString::fromStdString(m_options.server.strHost),
                               m_options.server.nPort);
    }
}

void CRelayServer::Read(int nConnection, RelayDirection direction) {
    const auto found = m_links.find(nConnection);
    if (found == m_links.end() || !found->second.bServerUp)
        return;
    Link& link = found->second;
    QTcpSocket* pFrom = direction == RelayDirection::ToServer ? link.pClient : link.pServer;
    const QByteArray bytes = pFrom->readAll();
    if (bytes.isEmpty())
        return;
    m_schedule.Take(nConnection, direction, Now(),
                    std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    Arm();
}

void CRelayServer::Ended(int nConnection, RelayDirection direction) {
    const auto found = m_links.find(nConnection);
    if (found == m_links.end() || !found->second.bServerUp)
        return;
    Read(nConnection, direction);
    std::fprintf(stderr, "relay: connection %d: the %s closed\n", nConnection, SideName(direction));
    m_schedule.TakeEnd(nConnection, direction, Now());
    Arm();
}

void CRelayServer::Failed(int nConnection, const QString& strWhy) {
    std::fprintf(stderr, "relay: connection %d: cannot reach the server %s:%u: %s\n", nConnection,
                 m_options.server.strHost.c_str(), m_options.server.nPort,
                 strWhy.toUtf8().constData());
    m_schedule.Forget(nConnection);
    Drop(nConnection, "closed");
    Arm();
}

void CRelayServer::Drop(int nConnection, const char* szWhy) {
    const auto found = m_links.find(nConnection);
    if (found == m_links.end())
        return;
    Link& link = found->second;
    std::fprintf(stderr,
                 "relay: connection %d %s: %llu bytes in %llu pieces to the server, %llu bytes in "
                 "%llu pieces to the client\n",
                 nConnection, szWhy, static_cast<unsigned long long>(link.nBytes[0]),
                 static_cast<unsigned long long>(link.nPieces[0]),
                 static_cast<unsigned long long>(link.nBytes[1]),
                 static_cast<unsigned long long>(link.nPieces[1]));
    const bool bCut = std::string_view(szWhy) == "cut";
    for (QTcpSocket* pSocket : {link.pClient, link.pServer}) {
        pSocket->disconnect(this);
        if (bCut || pSocket->state() == QAbstractSocket::UnconnectedState) {
            pSocket->abort();
            pSocket->deleteLater();
        } else {
            // What the socket still holds goes out before it closes.
            connect(pSocket, &QTcpSocket::disconnected, pSocket, &QObject::deleteLater);
            pSocket->disconnectFromHost();
        }
    }
    m_links.erase(found);
}

void CRelayServer::Carry(const RelayAction& action) {
    switch (action.kind) {
    case RelayAction::Kind::StallBegin:
        std::fprintf(stderr, "relay: stall begins\n");
        return;
    case RelayAction::Kind::StallEnd:
        std::fprintf(stderr, "relay: stall ends, %llu bytes were held\n",
                     static_cast<unsigned long long>(action.nBytes));
        return;
    case RelayAction::Kind::Cut:
        if (action.nConnection == 0) {
            std::fprintf(stderr, "relay: cut, no connection open\n");
            return;
        }
        std::fprintf(stderr, "relay: cut connection %d, %llu bytes dropped\n", action.nConnection,
                     static_cast<unsigned long long>(action.nBytes));
        Drop(action.nConnection, "cut");
        return;
    case RelayAction::Kind::Write:
    case RelayAction::Kind::Close:
        break;
    }
    const auto found = m_links.find(action.nConnection);
    if (found == m_links.end())
        return;
    Link& link = found->second;
    const int nFlow = static_cast<int>(action.direction);
    QTcpSocket* pTo = action.direction == RelayDirection::ToServer ? link.pServer : link.pClient;
    if (action.kind == RelayAction::Kind::Write) {
        if (m_options.bVerbose)
            std::fprintf(stderr, "relay: connection %d: %zu bytes to the %s\n", action.nConnection,
                         action.bytes.size(),
                         action.direction == RelayDirection::ToServer ? "server" : "client");
        link.nBytes[nFlow] += action.bytes.size();
        ++link.nPieces[nFlow];
        pTo->write(action.bytes.data(), static_cast<qint64>(action.bytes.size()));
        pTo->flush();
    } else {
        // Qt has no half-close: the other side goes once its last bytes are written.
        pTo->disconnectFromHost();
    }
    if (!m_schedule.IsOpen(action.nConnection))
        Drop(action.nConnection, "closed");
}

void CRelayServer::Run() {
    for (const RelayAction& action : m_schedule.Due(Now()))
        Carry(action);
    Arm();
}

void CRelayServer::Arm() {
    const auto nNext = m_schedule.NextEventMs();
    if (!nNext) {
        m_timer.stop();
        return;
    }
    const uint64_t nNow = Now();
    m_timer.start(*nNext > nNow ? static_cast<int>(*nNext - nNow) : 0);
}

} // namespace kelo
