// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace kelo {

// The child that process starts is killed when this program ends, however it ends (also by
// SIGKILL), so no server, bot or engine outlives the table. The signal comes when the thread
// that started the child ends: the GUI thread, which lives as long as the program.
inline void EndWithParent(QProcess& process) {
    const pid_t parent = getpid();
    process.setChildProcessModifier([parent] {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        // The parent may have died before the signal was asked for.
        if (getppid() != parent)
            _exit(127);
    });
}

} // namespace kelo
