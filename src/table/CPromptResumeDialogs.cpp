// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CPromptResumeDialogs.h"

#include "ports/IEventLoop.h"
#include "ports/IPrompts.h"

namespace kelo {

void CPromptResumeDialogs::OpenSealRequest(const std::string& question, const std::string& action,
                                           Answer confirm) {
    AskLater(question, action, "取消", std::move(confirm));
}

void CPromptResumeDialogs::OpenSealAnswer(const std::string& question, Answer answer) {
    AskLater(question, "同意", "不同意", std::move(answer));
}

void CPromptResumeDialogs::OpenResumeAnswer(const std::string& question, Answer answer) {
    AskLater(question, "同意", "不同意", std::move(answer));
}

void CPromptResumeDialogs::ShowInformation(const std::string& text) {
    m_prompts.ShowInformation(text, false);
}

void CPromptResumeDialogs::AskLater(const std::string& question, const std::string& yes,
                                    const std::string& no, Answer answer) {
    m_loop.Post([this, question, yes, no, answer = std::move(answer)] {
        answer(m_prompts.Verify(question, yes, no));
    });
}

} // namespace kelo
