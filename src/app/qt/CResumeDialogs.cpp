#include "app/qt/CResumeDialogs.h"

#include "app/qt/CDialogResumeAnswer.h"
#include "ports/IPrompts.h"

#include <cstdio>

namespace kelo {

CResumeDialogs::~CResumeDialogs() {
    if (m_pAnswer != nullptr)
        m_pAnswer->close();
}

void CResumeDialogs::Open(const QString& caption, const std::string& question, bool seal) {
    CloseAnswer();
    m_pAnswer = new CDialogResumeAnswer(
        caption, QString::fromStdString(question),
        [this, seal](bool agree) {
            if (seal)
                m_negotiation.AnswerSeal(agree);
            else
                m_negotiation.AnswerResume(agree);
        },
        m_pParent);
    m_pAnswer->show();
}

void CResumeDialogs::OpenSealAnswer(const std::string& question) {
    Open(QStringLiteral("封盘应答"), question, true);
}

void CResumeDialogs::OpenResumeAnswer(const std::string& question) {
    Open(QStringLiteral("续盘应答"), question, false);
}

void CResumeDialogs::CloseAnswer() {
    if (m_pAnswer != nullptr)
        m_pAnswer->close();
    m_pAnswer = nullptr;
}

void CResumeDialogs::OnCountdown(int seconds) {
    if (m_pAnswer != nullptr)
        m_pAnswer->SetSeconds(seconds);
}

void CResumeDialogs::ShowInformation(const std::string& text) {
    m_prompts.ShowNotice(text);
}

void CResumeDialogs::OnSealed(const std::string& savedPath) {
    std::printf("sealed: %s\n", savedPath.empty() ? "nothing stored" : savedPath.c_str());
    std::fflush(stdout);
}

void CResumeDialogs::OnResumed() {
    const GameRecord* record = m_negotiation.PendingRecord();
    std::printf("resumed: %zu moves\n", record != nullptr ? record->moves.size() : size_t{0});
    std::fflush(stdout);
}

} // namespace kelo
