// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/IEngineProcess.h"
#include "ports/IEventLoop.h"

#include <QByteArray>

#include <functional>

#include <cstdint>
#include <memory>

class QProcess;

namespace kelo {

// A chess engine's process on QProcess. Its output is cut into lines (a "\r" before the "\n"
// dropped); what it writes on its standard error goes on to ours. Every event is posted through
// the loop, so none arrives inside a call on this object, and none of a run that was stopped
// arrives at all. The child gets a parent-death signal, so it ends with this process also when
// this one is killed.
class CQtEngineProcess : public IEngineProcess {
public:
    explicit CQtEngineProcess(IEventLoop& loop);
    // Stops the process.
    ~CQtEngineProcess() override;
    CQtEngineProcess(const CQtEngineProcess&) = delete;
    CQtEngineProcess& operator=(const CQtEngineProcess&) = delete;

    void SetEvents(IEngineProcessEvents* events) override { m_pEvents = events; }
    // A process that still runs is stopped first.
    void Start(const std::string& program, const std::vector<std::string>& args) override;
    // A line end inside the line becomes a space: one call writes one line.
    void WriteLine(const std::string& line) override;
    // Closes the child's input (an engine ends at its end), waits up to a second for it to end,
    // then kills it.
    void Stop() override;

    // The child's process id while one was started and not stopped, else 0.
    int64_t ProcessId() const;

private:
    void ReadOutput();
    void Ended(int exitCode, bool crashed);
    void StartFailed(const std::string& why);
    // Posts the event for the current run; it is dropped when the run is over by then.
    void Post(std::function<void(IEngineProcessEvents&)> event);

    IEventLoop& m_loop;
    IEngineProcessEvents* m_pEvents = nullptr;
    std::unique_ptr<QProcess> m_pProcess;
    std::string m_strProgram;
    // The output after its last line end.
    QByteArray m_partial;
    // The number of the current run, shared with the events posted for it: a posted event of
    // an earlier run, or of a process object that is gone, is dropped.
    std::shared_ptr<uint64_t> m_pRun;
};

} // namespace kelo
