// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/CResumeDialogs.h"

#include "app/qt/CDialogResumeAnswer.h"
#include "app/qt/CDialogResumeExit.h"
#include "ports/IPrompts.h"

#include <cstdio>

namespace kelo {

CResumeDialogs::~CResumeDialogs() {
    CloseSealRequest();
    CloseAnswer();
}

void CResumeDialogs::OpenSealRequest(const std::string& question, const std::string& action,
                                     Answer confirm) {
    CloseSealRequest();
    m_pSealRequest = new CDialogResumeExit(
        QString::fromStdString(question), QString::fromStdString(action),
        QString::fromUtf8(CResumeNegotiation::SEAL_ACTION_HINT), std::move(confirm), m_parent());
    m_pSealRequest->show();
}

void CResumeDialogs::CloseSealRequest() {
    if (m_pSealRequest != nullptr)
        m_pSealRequest->close();
    m_pSealRequest = nullptr;
}

void CResumeDialogs::OnSealRequestCountdown(int seconds) {
    if (m_pSealRequest != nullptr)
        m_pSealRequest->SetSeconds(seconds);
}

void CResumeDialogs::OpenSealAnswer(const std::string& question, Answer answer) {
    CloseAnswer();
    m_pSealAnswer =
        new CDialogResumeExit(QString::fromStdString(question), std::move(answer), m_parent());
    m_pSealAnswer->show();
}

void CResumeDialogs::OpenResumeAnswer(const std::string& question, Answer answer) {
    CloseAnswer();
    m_pResumeAnswer =
        new CDialogResumeAnswer(QString::fromStdString(question), std::move(answer), m_parent());
    m_pResumeAnswer->show();
}

void CResumeDialogs::CloseAnswer() {
    if (m_pSealAnswer != nullptr)
        m_pSealAnswer->close();
    if (m_pResumeAnswer != nullptr)
        m_pResumeAnswer->close();
    m_pSealAnswer = nullptr;
    m_pResumeAnswer = nullptr;
}

void CResumeDialogs::OnCountdown(int seconds) {
    if (m_pSealAnswer != nullptr)
        m_pSealAnswer->SetSeconds(seconds);
    if (m_pResumeAnswer != nullptr)
        m_pResumeAnswer->SetSeconds(seconds);
}

void CResumeDialogs::ShowInformation(const std::string& text) {
    m_prompts.ShowInformation(text, false);
}

void CResumeDialogs::OnSealed(const std::string& savedPath) {
    std::printf("sealed: %s\n", savedPath.empty() ? "nothing stored" : savedPath.c_str());
    std::fflush(stdout);
}

void CResumeDialogs::OnResumed(size_t moves) {
    std::printf("resumed: %zu moves\n", moves);
    std::fflush(stdout);
}

} // namespace kelo
