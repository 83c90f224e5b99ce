// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/CDialogResumeAnswer.h"

#include "table/CResumeNegotiation.h"

#include <QPushButton>

namespace kelo {

CDialogResumeAnswer::CDialogResumeAnswer(const QString& question, std::function<void(bool)> answer,
                                         QWidget* parent)
    : CDialogResumeAnswer(QStringLiteral("续盘应答"), QStringLiteral("续盘应答"), question,
                          std::move(answer), {QStringLiteral("同意"), {}},
                          {QStringLiteral("不同意"), {}}, parent) {}

CDialogResumeAnswer::CDialogResumeAnswer(const QString& caption, const QString& title,
                                         const QString& question, std::function<void(bool)> answer,
                                         const ButtonFace& yes, const ButtonFace& no,
                                         QWidget* parent)
    : CTableDialog(caption, title, parent), m_question(question), m_answer(std::move(answer)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    SetSeconds(CResumeNegotiation::COUNTDOWN_SECONDS);
    setFixedSize(WidthForLines({question}, 260), 110);
    const auto buttons = AddButtonRow({yes, no});
    connect(buttons[0], &QPushButton::clicked, this, [this] { Answer(true); });
    connect(buttons[1], &QPushButton::clicked, this, [this] { Answer(false); });
}

void CDialogResumeAnswer::SetSeconds(int seconds) {
    SetTextLines({m_question, QString::number(seconds)});
}

void CDialogResumeAnswer::Answer(bool agree) {
    if (m_bAnswered)
        return;
    m_bAnswered = true;
    // The negotiation closes the dialog when it has sent the answer.
    m_answer(agree);
}

} // namespace kelo
