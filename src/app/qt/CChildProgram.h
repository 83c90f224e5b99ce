// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

class QProcess;

namespace kelo {

// A program the table starts for itself (the game server and the bot of a game against the
// computer), spoken to in lines on its standard input and read in lines from its output (its
// standard output and error together). It ends with the table: the child gets a parent-death
// signal, so it is killed when this process dies however it dies, and Stop ends it on a
// normal close.
class CChildProgram {
public:
    // Each line of its output, without its end.
    std::function<void(const std::string&)> onLine;
    // It has ended without being stopped, or could not be started: the exit status (-1 when it
    // never ran) and, for a crash or a failed start, what happened.
    std::function<void(int status, const std::string& why)> onEnded;

    CChildProgram();
    // Kills a child that still runs.
    ~CChildProgram();
    CChildProgram(const CChildProgram&) = delete;
    CChildProgram& operator=(const CChildProgram&) = delete;

    // logPath: a file that keeps every line of its output (none when empty).
    void Start(const QString& program, const QStringList& args, const QString& logPath = {});
    // Nothing happens when it does not run.
    void WriteLine(const std::string& line);
    bool Running() const;
    // Ends it: its input is closed, it has graceMs to end by itself (the event loop runs
    // meanwhile), then it is asked to end (SIGTERM) and killed a second later when it has not.
    void Stop(int graceMs);

private:
    // True once it has ended, false after ms.
    bool WaitForEnd(int ms);
    void ReadOutput();

    std::unique_ptr<QProcess> m_pProcess;
    QByteArray m_partial;
    QFile m_log;
    bool m_bStopping = false;
};

} // namespace kelo
