// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/CChildProgram.h"

#include "ports/qt/EndWithParent.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <cstdio>

namespace kelo {

namespace {
// A line longer than this without its end is nobody's line: it is dropped.
constexpr qsizetype MAX_LINE = 1 << 20;
constexpr int TERM_WAIT_MS = 1000;
} // namespace

CChildProgram::CChildProgram() = default;

CChildProgram::~CChildProgram() {
    if (m_pProcess != nullptr) {
        m_pProcess->disconnect();
        m_pProcess->kill();
        m_pProcess->waitForFinished(TERM_WAIT_MS);
    }
}

void CChildProgram::Start(const QString& program, const QStringList& args, const QString& logPath) {
    m_pProcess = std::make_unique<QProcess>();
    m_bStopping = false;
    QProcess& process = *m_pProcess;
    process.setProcessChannelMode(QProcess::MergedChannels);
    EndWithParent(process);
    if (!logPath.isEmpty()) {
        m_log.setFileName(logPath);
        if (!m_log.open(QIODevice::WriteOnly | QIODevice::Append))
            std::fprintf(stderr, "kelo-chess: cannot write %s\n", qPrintable(logPath));
    }
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &process,
                     [this] { ReadOutput(); });
    QObject::connect(&process, &QProcess::finished, &process,
                     [this](int status, QProcess::ExitStatus exit) {
                         ReadOutput();
                         if (m_bStopping || !onEnded)
                             return;
                         onEnded(exit == QProcess::CrashExit ? -1 : status,
                                 exit == QProcess::CrashExit ? "signal " + std::to_string(status)
                                                             : std::string());
                     });
    QObject::connect(&process, &QProcess::errorOccurred, &process,
                     [this](QProcess::ProcessError error) {
                         // A crash is told by finished; only a failed start ends without it.
                         if (error == QProcess::FailedToStart && onEnded)
                             onEnded(-1, m_pProcess->errorString().toStdString());
                     });
    process.start(program, args);
}

void CChildProgram::WriteLine(const std::string& line) {
    if (!Running())
        return;
    m_pProcess->write(QByteArray::fromStdString(line + "\n"));
}

bool CChildProgram::Running() const {
    return m_pProcess != nullptr && m_pProcess->state() != QProcess::NotRunning;
}

void CChildProgram::Stop(int graceMs) {
    if (m_pProcess == nullptr)
        return;
    m_bStopping = true;
    if (Running()) {
        m_pProcess->closeWriteChannel();
        if (!WaitForEnd(graceMs)) {
            m_pProcess->terminate();
            if (!m_pProcess->waitForFinished(TERM_WAIT_MS)) {
                m_pProcess->kill();
                m_pProcess->waitForFinished(TERM_WAIT_MS);
            }
        }
    }
    ReadOutput();
    m_log.close();
}

bool CChildProgram::WaitForEnd(int ms) {
    // With the event loop running: what the table still sends goes out, and a child that
    // ends when it hears it can do so.
    QEventLoop loop;
    QObject::connect(m_pProcess.get(), &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    if (Running())
        loop.exec();
    return !Running();
}

void CChildProgram::ReadOutput() {
    if (m_pProcess == nullptr)
        return;
    m_partial += m_pProcess->readAllStandardOutput();
    qsizetype start = 0;
    for (qsizetype end; (end = m_partial.indexOf('\n', start)) >= 0; start = end + 1) {
        qsizetype length = end - start;
        if (length > 0 && m_partial[end - 1] == '\r')
            --length;
        const QByteArray line = m_partial.mid(start, length);
        if (m_log.isOpen()) {
            m_log.write(line + '\n');
            m_log.flush();
        }
        if (onLine)
            onLine(line.toStdString());
    }
    m_partial.remove(0, start);
    if (m_partial.size() > MAX_LINE)
        m_partial.clear();
}

} // namespace kelo
