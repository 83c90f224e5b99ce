// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/CHallClients.h"

#include <QDBusConnectionInterface>

namespace kelo {

CHallClients::CHallClients(const QDBusConnection& bus, int graceMs, QObject* parent)
    : QObject(parent), m_bus(bus) {
    m_watcher.setConnection(m_bus);
    m_watcher.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(&m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, &CHallClients::OnGone);
    m_timer.setSingleShot(true);
    m_timer.setInterval(graceMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_clients.isEmpty())
            emit AllGone();
    });
}

void CHallClients::NoteCaller(const QString& uniqueName) {
    if (uniqueName.isEmpty())
        return;
    m_timer.stop();
    if (m_clients.contains(uniqueName))
        return;
    m_clients.insert(uniqueName);
    m_watcher.addWatchedService(uniqueName);
    // A client that left before the watch began would never be reported gone.
    QDBusConnectionInterface* bus = m_bus.interface();
    if (bus != nullptr && !bus->isServiceRegistered(uniqueName).value())
        OnGone(uniqueName);
}

void CHallClients::OnGone(const QString& uniqueName) {
    if (!m_clients.remove(uniqueName))
        return;
    m_watcher.removeWatchedService(uniqueName);
    if (m_clients.isEmpty())
        m_timer.start();
}

} // namespace kelo
