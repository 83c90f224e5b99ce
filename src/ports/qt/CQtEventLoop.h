// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/IEventLoop.h"

#include <QObject>

#include <map>
#include <utility>

class QTimer;

namespace kelo {

// The event loop of the GUI thread: tasks become queued calls, timers are QTimers. Tasks still
// queued when the loop object goes are dropped unrun (their captures are destroyed).
class CQtEventLoop : public IEventLoop {
public:
    CQtEventLoop();
    ~CQtEventLoop() override;
    CQtEventLoop(const CQtEventLoop&) = delete;
    CQtEventLoop& operator=(const CQtEventLoop&) = delete;

    void Post(Task task) override;
    void SetTimer(ITimerSink* owner, uint32_t id, uint32_t periodMs) override;
    void KillTimer(ITimerSink* owner, uint32_t id) override;
    void KillTimers(ITimerSink* owner) override;

private:
    QObject m_receiver;
    std::map<std::pair<ITimerSink*, uint32_t>, QTimer*> m_timers;
};

} // namespace kelo
