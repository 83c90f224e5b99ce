// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

namespace kelo {

// Whatever owns timers: it is called with the timer's id each time a period ends.
class ITimerSink {
public:
    virtual ~ITimerSink() = default;
    virtual void OnTimer(uint32_t id) = 0;
};

// The GUI thread's message queue and its timers. Everything of a table runs on that one thread:
// posted tasks run one after the other in the order they were posted, and a timer fires between
// tasks, never inside one.
class IEventLoop {
public:
    using Task = std::function<void()>;

    virtual ~IEventLoop() = default;
    // Runs the task later on the loop's thread, after every task posted before it.
    virtual void Post(Task task) = 0;
    // Starts a periodic timer of the owner; setting an id that already runs restarts it with
    // the new period.
    virtual void SetTimer(ITimerSink* owner, uint32_t id, uint32_t periodMs) = 0;
    // Stopping a timer that does not run is harmless.
    virtual void KillTimer(ITimerSink* owner, uint32_t id) = 0;
    // Stops every timer of the owner; an owner calls it before it goes away.
    virtual void KillTimers(ITimerSink* owner) = 0;
};

} // namespace kelo
