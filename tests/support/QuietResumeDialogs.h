// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/CResumeNegotiation.h"

#include <string>
#include <vector>

namespace kelo::test {

// The seal and resume dialogs of a table client whose test does not answer them: each question
// and notice is kept, and no answer ever comes back.
class QuietResumeDialogs : public IResumeDialogs {
public:
    void OpenSealRequest(const std::string& question, const std::string&, Answer) override {
        shown.push_back(question);
    }
    void OpenSealAnswer(const std::string& question, Answer) override { shown.push_back(question); }
    void OpenResumeAnswer(const std::string& question, Answer) override {
        shown.push_back(question);
    }
    void ShowInformation(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

} // namespace kelo::test
