// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TableTypes.h"

#include <cstdint>
#include <string>

namespace kelo {

// Everything that asks the user something or tells the user something. The shell answers with
// dialogs; tests answer with scripted replies.
class IPrompts {
public:
    virtual ~IPrompts() = default;
    // The promotion choice: queen, rook, bishop or knight. A choice that runs out of time
    // answers the queen.
    virtual PieceKind ChoosePromotion() = 0;
    // A notice the user only acknowledges.
    virtual void ShowNotice(const std::string& text) = 0;
    // A notice in the table's information dialog, which closes itself after 20 seconds; modal
    // waits until it has closed. Without such a dialog it is a notice.
    virtual void ShowInformation(const std::string& text, bool /*modal*/) { ShowNotice(text); }
    // A failure the user must know of: the message box with the stop icon.
    virtual void ShowError(const std::string& text) { ShowNotice(text); }
    // A modal yes/no question; true for yes.
    virtual bool AskYesNo(const std::string& question) = 0;
    // A modal question in a message box with the buttons OK and Cancel; true for OK. Without
    // such a box it is a yes/no question.
    virtual bool AskOkCancel(const std::string& question) { return AskYesNo(question); }
    // A modal question with two buttons of the given labels; true for the first.
    virtual bool Verify(const std::string& question, const std::string& okLabel,
                        const std::string& cancelLabel) = 0;
    // The save-file and open-file dialogs, opening in folder with the proposed file name,
    // the filter ("label|pattern|...||") and the extension added to a name without one. The
    // chosen path, empty when the user cancelled. Without a user nothing is chosen.
    virtual std::string ChooseSaveFile(const std::string& /*folder*/, const std::string& /*name*/,
                                       const std::string& /*filter*/,
                                       const std::string& /*extension*/) {
        return {};
    }
    virtual std::string ChooseOpenFile(const std::string& /*folder*/, const std::string& /*name*/,
                                       const std::string& /*filter*/,
                                       const std::string& /*extension*/) {
        return {};
    }
    // A one-line input dialog showing text; false when it was closed without its button, text
    // then unchanged.
    virtual bool InputText(const std::string& /*caption*/, const std::string& /*label*/,
                           std::string& /*text*/) {
        return false;
    }
};

// Answers without a user: always a queen, always no, notices go nowhere.
class CSilentPrompts : public IPrompts {
public:
    PieceKind ChoosePromotion() override { return PieceKind::Queen; }
    void ShowNotice(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
    bool Verify(const std::string&, const std::string&, const std::string&) override {
        return false;
    }
};

} // namespace kelo
