// SPDX-License-Identifier: GPL-3.0-or-later
// The relay on Qt's sockets: it accepts clients, joins each to a connection of its own to the
// game server and carries out what the schedule says, when it says it.
#pragma once

#include "CRelaySchedule.h"
#include "RelayOptions.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTcpServer>
#include <QTimer>

#include <cstdint>
#include <map>
#include <string>

class QTcpSocket;

namespace kelo {

class CRelayServer : public QObject {
public:
    explicit CRelayServer(const RelayOptions& options);

    // Listens on the options' address; false with the reason in strError.
    bool Listen(std::string& strError);
    // HOST:PORT where it listens, the port picked when it was 0.
    std::string Address() const;

private:
    struct Link {
        QTcpSocket* pClient = nullptr;
        QTcpSocket* pServer = nullptr;
        bool bServerUp = false;
        uint64_t nBytes[2] = {0, 0};
        uint64_t nPieces[2] = {0, 0};
    };

    uint64_t Now() const { return static_cast<uint64_t>(m_clock.elapsed()); }
    void Accept();
    void Read(int nConnection, RelayDirection direction);
    void Ended(int nConnection, RelayDirection direction);
    void Failed(int nConnection, const QString& strWhy);
    void Run();
    void Carry(const RelayAction& action);
    void Drop(int nConnection, const char* szWhy);
    void Arm();

    RelayOptions m_options;
    CRelaySchedule m_schedule;
    QTcpServer m_server;
    QTimer m_timer;
    QElapsedTimer m_clock;
    std::map<int, Link> m_links;
};

} // namespace kelo
