// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/CResumeNegotiation.h"

#include <QPointer>

#include <functional>

class QWidget;

namespace kelo {

class CDialogResumeAnswer;
class CDialogResumeExit;
class IPrompts;

// The table window's side of sealing and resuming: the answer dialogs with their countdown, the
// information notices and a line on standard output for each seal and resume.
class CResumeDialogs : public IResumeDialogs {
public:
    // The dialogs open over the window that parent names when they open (the window is made
    // after the table's model, which asks through these dialogs).
    CResumeDialogs(IPrompts& prompts, std::function<QWidget*()> parent)
        : m_prompts(prompts), m_parent(std::move(parent)) {}
    ~CResumeDialogs() override;

    void OpenSealRequest(const std::string& question, const std::string& action,
                         Answer confirm) override;
    void CloseSealRequest() override;
    void OnSealRequestCountdown(int seconds) override;
    void OpenSealAnswer(const std::string& question, Answer answer) override;
    void OpenResumeAnswer(const std::string& question, Answer answer) override;
    void CloseAnswer() override;
    void OnCountdown(int seconds) override;
    void ShowInformation(const std::string& text) override;
    void OnSealed(const std::string& savedPath) override;
    void OnResumed(size_t moves) override;

private:
    IPrompts& m_prompts;
    std::function<QWidget*()> m_parent;
    QPointer<CDialogResumeExit> m_pSealRequest;
    // At most one of the answer dialogs is open.
    QPointer<CDialogResumeExit> m_pSealAnswer;
    QPointer<CDialogResumeAnswer> m_pResumeAnswer;
};

} // namespace kelo
