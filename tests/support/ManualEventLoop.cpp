// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ManualEventLoop.h"

namespace kelo::test {

void ManualEventLoop::SetTimer(ITimerSink* owner, uint32_t id, uint32_t periodMs) {
    m_timers[{owner, id}] = Timer{periodMs, m_nNow + periodMs};
}

void ManualEventLoop::KillTimers(ITimerSink* owner) {
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->first.first == owner)
            it = m_timers.erase(it);
        else
            ++it;
    }
}

size_t ManualEventLoop::RunPending() {
    size_t count = 0;
    while (!m_tasks.empty()) {
        Task task = std::move(m_tasks.front());
        m_tasks.pop_front();
        task();
        ++count;
    }
    return count;
}

void ManualEventLoop::Advance(uint64_t ms) {
    const uint64_t target = m_nNow + ms;
    RunPending();
    for (;;) {
        auto next = m_timers.end();
        for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
            if (it->second.due <= target &&
                (next == m_timers.end() || it->second.due < next->second.due))
                next = it;
        }
        if (next == m_timers.end())
            break;
        const auto key = next->first;
        m_nNow = next->second.due;
        // A zero period would fire forever within one instant; it fires once per step.
        next->second.due += next->second.period > 0 ? next->second.period : 1;
        key.first->OnTimer(key.second);
        RunPending();
    }
    m_nNow = target;
}

uint32_t ManualEventLoop::TimerPeriod(ITimerSink* owner, uint32_t id) const {
    auto it = m_timers.find({owner, id});
    return it != m_timers.end() ? it->second.period : 0;
}

uint64_t ManualEventLoop::TimerDue(ITimerSink* owner, uint32_t id) const {
    auto it = m_timers.find({owner, id});
    return it != m_timers.end() ? it->second.due : 0;
}

} // namespace kelo::test
