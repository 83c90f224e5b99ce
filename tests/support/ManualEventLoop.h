// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/IEventLoop.h"

#include <cstdint>
#include <deque>
#include <map>
#include <utility>

namespace kelo::test {

// The event loop of a test: posted tasks wait until the test runs them, and time moves only when
// the test advances the clock, which fires the timers that fall due in order.
class ManualEventLoop : public IEventLoop {
public:
    void Post(Task task) override { m_tasks.push_back(std::move(task)); }
    void SetTimer(ITimerSink* owner, uint32_t id, uint32_t periodMs) override;
    void KillTimer(ITimerSink* owner, uint32_t id) override { m_timers.erase({owner, id}); }
    void KillTimers(ITimerSink* owner) override;

    // Runs posted tasks, also those posted meanwhile, until none is left; returns how many ran.
    size_t RunPending();
    size_t PendingCount() const { return m_tasks.size(); }
    // Moves the clock on, firing each timer whenever one of its periods ends (and running the
    // tasks posted by it) before the next one.
    void Advance(uint64_t ms);
    uint64_t Now() const { return m_nNow; }

    bool IsTimerSet(ITimerSink* owner, uint32_t id) const {
        return m_timers.count({owner, id}) != 0;
    }
    // 0 when the timer does not run.
    uint32_t TimerPeriod(ITimerSink* owner, uint32_t id) const;
    // When the timer fires next; 0 when it does not run.
    uint64_t TimerDue(ITimerSink* owner, uint32_t id) const;

private:
    struct Timer {
        uint32_t period;
        uint64_t due;
    };
    std::deque<Task> m_tasks;
    std::map<std::pair<ITimerSink*, uint32_t>, Timer> m_timers;
    uint64_t m_nNow = 0;
};

} // namespace kelo::test
