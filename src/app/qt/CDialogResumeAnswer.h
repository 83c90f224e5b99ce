// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/qt/CTableDialog.h"

#include <functional>

namespace kelo {

// The answer to the opponent's resume request in the table's look: the question, the seconds
// left, "同意" and "不同意". The negotiation counts the seconds (silence refuses there, not
// here). Modeless: the game goes on while it is open.
class CDialogResumeAnswer : public CTableDialog {
public:
    CDialogResumeAnswer(const QString& question, std::function<void(bool)> answer,
                        QWidget* parent = nullptr);
    void SetSeconds(int seconds);

protected:
    // The same answer under another caption and painted title, with the faces of the yes and
    // the no button.
    CDialogResumeAnswer(const QString& caption, const QString& title, const QString& question,
                        std::function<void(bool)> answer, const ButtonFace& yes,
                        const ButtonFace& no, QWidget* parent);

private:
    void Answer(bool agree);

    QString m_question;
    std::function<void(bool)> m_answer;
    bool m_bAnswered = false;
};

} // namespace kelo
