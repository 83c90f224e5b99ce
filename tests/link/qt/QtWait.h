// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>

#include <functional>

namespace kelo::test {

// The Qt tests need an application object for sockets and queued calls.
inline QCoreApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "kelo-tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() != nullptr
                                       ? QCoreApplication::instance()
                                       : new QCoreApplication(argc, argv);
    return *app;
}

// Runs the event loop until the condition holds; the limit is only a guard against a hang.
inline bool WaitFor(const std::function<bool()>& done, int limitMs = 20000) {
    TestApplication();
    QDeadlineTimer deadline(limitMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents();
    }
    return true;
}

// Runs the event loop for a while, for checks that something does not happen.
inline void Settle(int ms = 200) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

} // namespace kelo::test
