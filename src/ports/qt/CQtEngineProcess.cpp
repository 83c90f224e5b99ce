// SPDX-License-Identifier: GPL-3.0-or-later
#include "ports/qt/CQtEngineProcess.h"

#include "ports/qt/EndWithParent.h"

#include <QProcess>
#include <QStringList>

namespace kelo {

namespace {

// A line longer than this without its end is no engine's line: it is dropped.
constexpr qsizetype MAX_LINE = 1 << 20;
constexpr int STOP_WAIT_MS = 1000;

} // namespace

CQtEngineProcess::CQtEngineProcess(IEventLoop& loop)
    : m_loop(loop), m_pRun(std::make_shared<uint64_t>(0)) {}

CQtEngineProcess::~CQtEngineProcess() {
    Stop();
    // Events still posted find the run gone.
    m_pRun.reset();
}

int64_t CQtEngineProcess::ProcessId() const {
    return m_pProcess != nullptr ? m_pProcess->processId() : 0;
}

void CQtEngineProcess::Post(std::function<void(IEngineProcessEvents&)> event) {
    m_loop.Post(
        [this, run = std::weak_ptr<uint64_t>(m_pRun), number = *m_pRun, event = std::move(event)] {
            const std::shared_ptr<uint64_t> current = run.lock();
            if (current == nullptr || *current != number || m_pEvents == nullptr)
                return;
            event(*m_pEvents);
        });
}

void CQtEngineProcess::Start(const std::string& program, const std::vector<std::string>& args) {
    Stop();
    ++*m_pRun;
    m_strProgram = program;
    m_partial.clear();
    m_pProcess = std::make_unique<QProcess>();
    QProcess& process = *m_pProcess;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    EndWithParent(process);
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &process,
                     [this] { ReadOutput(); });
    QObject::connect(&process, &QProcess::finished, &process,
                     [this](int exitCode, QProcess::ExitStatus status) {
                         Ended(exitCode, status == QProcess::CrashExit);
                     });
    QObject::connect(&process, &QProcess::errorOccurred, &process,
                     [this](QProcess::ProcessError error) {
                         // A crash is told by finished; only a failed start ends without it.
                         if (error == QProcess::FailedToStart)
                             StartFailed(m_pProcess->errorString().toStdString());
                     });
    QStringList arguments;
    for (const std::string& arg : args)
        arguments << QString::fromStdString(arg);
    process.start(QString::fromStdString(program), arguments);
}

void CQtEngineProcess::WriteLine(const std::string& line) {
    if (m_pProcess == nullptr || m_pProcess->state() == QProcess::NotRunning)
        return;
    QByteArray bytes = QByteArray::fromStdString(line);
    bytes.replace('\n', ' ').replace('\r', ' ');
    bytes += '\n';
    m_pProcess->write(bytes);
}

void CQtEngineProcess::Stop() {
    if (m_pProcess == nullptr)
        return;
    // Whatever the run still had to say is not wanted any more.
    ++*m_pRun;
    std::unique_ptr<QProcess> process = std::move(m_pProcess);
    process->disconnect();
    if (process->state() != QProcess::NotRunning) {
        process->closeWriteChannel();
        if (!process->waitForFinished(STOP_WAIT_MS)) {
            process->kill();
            process->waitForFinished(STOP_WAIT_MS);
        }
    }
}

void CQtEngineProcess::ReadOutput() {
    m_partial += m_pProcess->readAllStandardOutput();
    qsizetype start = 0;
    for (qsizetype end; (end = m_partial.indexOf('\n', start)) >= 0; start = end + 1) {
        qsizetype length = end - start;
        if (length > 0 && m_partial[end - 1] == '\r')
            --length;
        Post([line = m_partial.mid(start, length).toStdString()](IEngineProcessEvents& events) {
            events.OnEngineLine(line);
        });
    }
    m_partial.remove(0, start);
    if (m_partial.size() > MAX_LINE)
        m_partial.clear();
}

void CQtEngineProcess::Ended(int exitCode, bool crashed) {
    ReadOutput();
    if (!m_partial.isEmpty()) {
        Post([line = m_partial.toStdString()](IEngineProcessEvents& events) {
            events.OnEngineLine(line);
        });
        m_partial.clear();
    }
    // On a crash Qt gives the signal's number as the exit code.
    const std::string why = crashed ? "引擎意外终止（信号 " + std::to_string(exitCode) + "）"
                                    : "引擎自己退出了（退出码 " + std::to_string(exitCode) + "）";
    Post([why](IEngineProcessEvents& events) { events.OnEngineGone(why); });
}

void CQtEngineProcess::StartFailed(const std::string& why) {
    Post([text = "无法启动引擎 " + m_strProgram + "：" + why](IEngineProcessEvents& events) {
        events.OnEngineGone(text);
    });
}

} // namespace kelo
