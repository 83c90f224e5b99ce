// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

namespace kelo {

// The hall clients that use this table client: the bus connections that have called it. A
// client that leaves the bus has let go of the table; when the last one has gone and none has
// come back within the grace time, AllGone asks the program to end.
class CHallClients : public QObject {
    Q_OBJECT
public:
    static constexpr int GRACE_MS = 5000;

    explicit CHallClients(const QDBusConnection& bus, int graceMs = GRACE_MS,
                          QObject* parent = nullptr);

    // A call came from the connection of this unique name.
    void NoteCaller(const QString& uniqueName);
    int Count() const { return static_cast<int>(m_clients.size()); }

signals:
    void AllGone();

private:
    void OnGone(const QString& uniqueName);

    QDBusConnection m_bus;
    QDBusServiceWatcher m_watcher;
    QTimer m_timer;
    QSet<QString> m_clients;
};

} // namespace kelo
