#pragma once

#include "table/CResumeNegotiation.h"

#include <QPointer>

class QWidget;

namespace kelo {

class CDialogResumeAnswer;
class CDialogResumeExit;
class IPrompts;

// The table window's side of sealing and resuming: the answer dialogs with their countdown, the
// information notices and a line on standard output for each seal and resume.
class CResumeDialogs : public IResumeDialogs {
public:
    CResumeDialogs(CResumeNegotiation& negotiation, IPrompts& prompts, QWidget* parent)
        : m_negotiation(negotiation), m_prompts(prompts), m_pParent(parent) {}
    ~CResumeDialogs() override;

    void OpenSealRequest(const std::string& question, const std::string& action) override;
    void CloseSealRequest() override;
    void OnSealRequestCountdown(int seconds) override;
    void OpenSealAnswer(const std::string& question) override;
    void OpenResumeAnswer(const std::string& question) override;
    void CloseAnswer() override;
    void OnCountdown(int seconds) override;
    void ShowInformation(const std::string& text) override;
    void OnSealed(const std::string& savedPath) override;
    void OnResumed() override;

private:
    CResumeNegotiation& m_negotiation;
    IPrompts& m_prompts;
    QWidget* m_pParent;
    QPointer<CDialogResumeExit> m_pSealRequest;
    // At most one of the answer dialogs is open.
    QPointer<CDialogResumeExit> m_pSealAnswer;
    QPointer<CDialogResumeAnswer> m_pResumeAnswer;
};

} // namespace kelo
