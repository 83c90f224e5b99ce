// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/IPrompts.h"

#include <cstdio>

namespace kelo {

// Answers every question the same way without a user, and writes what the user would have
// been told to standard error: for unattended runs and for tests that drive a whole program.
class CAutoAnswerPrompts : public IPrompts {
public:
    explicit CAutoAnswerPrompts(bool yes) : m_bYes(yes) {}
    PieceKind ChoosePromotion() override { return PieceKind::Queen; }
    void ShowNotice(const std::string& text) override {
        std::fprintf(stderr, "notice: %s\n", text.c_str());
    }
    bool AskYesNo(const std::string& question) override {
        std::fprintf(stderr, "question: %s -> %s\n", question.c_str(), m_bYes ? "yes" : "no");
        return m_bYes;
    }
    bool AskOkCancel(const std::string& question) override {
        std::fprintf(stderr, "question: %s -> %s\n", question.c_str(), m_bYes ? "OK" : "Cancel");
        return m_bYes;
    }
    bool Verify(const std::string& question, const std::string& okLabel,
                const std::string& cancelLabel) override {
        std::fprintf(stderr, "question: %s -> %s\n", question.c_str(),
                     (m_bYes ? okLabel : cancelLabel).c_str());
        return m_bYes;
    }

    // Answered yes, a file is saved where it was proposed; no saves nothing.
    std::string ChooseSaveFile(const std::string& folder, const std::string& name,
                               const std::string&, const std::string&) override {
        std::fprintf(stderr, "save file: %s\n", m_bYes ? (folder + name).c_str() : "cancelled");
        return m_bYes ? folder + name : std::string();
    }

private:
    bool m_bYes;
};

} // namespace kelo
