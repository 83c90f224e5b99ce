// SPDX-License-Identifier: GPL-3.0-or-later
#include "ports/qt/CQtEventLoop.h"

#include <QMetaObject>
#include <QTimer>

namespace kelo {

CQtEventLoop::CQtEventLoop() = default;

CQtEventLoop::~CQtEventLoop() {
    // The timers are children of the receiver and go with it.
    m_timers.clear();
}

void CQtEventLoop::Post(Task task) {
    QMetaObject::invokeMethod(&m_receiver, std::move(task), Qt::QueuedConnection);
}

void CQtEventLoop::SetTimer(ITimerSink* owner, uint32_t id, uint32_t periodMs) {
    QTimer*& timer = m_timers[{owner, id}];
    if (timer == nullptr) {
        timer = new QTimer(&m_receiver);
        QObject::connect(timer, &QTimer::timeout, &m_receiver, [owner, id] { owner->OnTimer(id); });
    }
    timer->start(static_cast<int>(periodMs));
}

void CQtEventLoop::KillTimer(ITimerSink* owner, uint32_t id) {
    auto it = m_timers.find({owner, id});
    if (it == m_timers.end())
        return;
    // The owner may kill the timer from inside its own tick, so the object goes later.
    it->second->stop();
    it->second->disconnect();
    it->second->deleteLater();
    m_timers.erase(it);
}

void CQtEventLoop::KillTimers(ITimerSink* owner) {
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        auto next = std::next(it);
        if (it->first.first == owner)
            KillTimer(owner, it->first.second);
        it = next;
    }
}

} // namespace kelo
