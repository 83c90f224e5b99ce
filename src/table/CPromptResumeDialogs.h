// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/CResumeNegotiation.h"

namespace kelo {

class IEventLoop;
class IPrompts;

// The seal and resume dialogs of a table without windows of its own for them: each question is
// asked through the prompts once the message that raised it is handled, as a dialog would be,
// and the information goes to the prompts as well.
class CPromptResumeDialogs : public IResumeDialogs {
public:
    CPromptResumeDialogs(IPrompts& prompts, IEventLoop& loop) : m_prompts(prompts), m_loop(loop) {}

    void OpenSealRequest(const std::string& question, const std::string& action,
                         Answer confirm) override;
    void OpenSealAnswer(const std::string& question, Answer answer) override;
    void OpenResumeAnswer(const std::string& question, Answer answer) override;
    void ShowInformation(const std::string& text) override;

private:
    // Asks question with the two buttons after the current message, and passes the choice on.
    void AskLater(const std::string& question, const std::string& yes, const std::string& no,
                  Answer answer);

    IPrompts& m_prompts;
    IEventLoop& m_loop;
};

} // namespace kelo
