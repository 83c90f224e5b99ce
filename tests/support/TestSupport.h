// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/IMessageSender.h"
#include "link/PERSON.h"
#include "ports/IPrompts.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace kelo::test {

// Keeps every message the code under test sends.
class RecordingSender : public IMessageSender {
public:
    struct Sent {
        uint16_t type;
        std::vector<uint8_t> body;
    };
    void SendMessage(uint16_t type, const uint8_t* body, size_t length) override {
        sent.push_back({type, std::vector<uint8_t>(body, body + length)});
        if (forward != nullptr)
            forward->SendMessage(type, body, length);
    }
    std::vector<Sent> sent;
    // Where the messages go on to after being kept, when set.
    IMessageSender* forward = nullptr;
};

// Answers questions from a script and keeps what the user was told.
class ScriptedPrompts : public IPrompts {
public:
    PieceKind ChoosePromotion() override {
        ++promotionQuestions;
        if (promotionAnswers.empty())
            return PieceKind::Queen;
        const PieceKind answer = promotionAnswers.front();
        promotionAnswers.pop_front();
        return answer;
    }
    void ShowNotice(const std::string& text) override { notices.push_back(text); }
    void ShowInformation(const std::string& text, bool modal) override {
        informations.push_back(text);
        modalInformations.push_back(modal);
    }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    bool AskYesNo(const std::string& question) override {
        questions.push_back(question);
        return yesNoAnswer;
    }
    bool AskOkCancel(const std::string& question) override {
        questions.push_back(question + " [OK/Cancel]");
        return yesNoAnswer;
    }
    bool Verify(const std::string& question, const std::string& okLabel,
                const std::string& cancelLabel) override {
        questions.push_back(question + " [" + okLabel + "/" + cancelLabel + "]");
        return yesNoAnswer;
    }

    std::deque<PieceKind> promotionAnswers;
    int promotionQuestions = 0;
    std::vector<std::string> notices;
    // The information dialogs, and whether each was modal; the stop-icon message boxes.
    std::vector<std::string> informations;
    std::vector<bool> modalInformations;
    std::vector<std::string> errors;
    bool yesNoAnswer = false;
    std::vector<std::string> questions;
};

// A person record with the fields the tests use.
PERSON MakePerson(uint32_t id, const char* username, int16_t seat, int16_t status = 4);

} // namespace kelo::test
