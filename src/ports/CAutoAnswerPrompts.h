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

    bool Verify(const std::string& question, const std::string& okLabel,
                const std::string& cancelLabel) override {
        std::fprintf(stderr, "question: %s -> %s\n", question.c_str(),
                     (m_bYes ? okLabel : cancelLabel).c_str());
        return m_bYes;
    }

private:
    bool m_bYes;
};

} // namespace kelo
