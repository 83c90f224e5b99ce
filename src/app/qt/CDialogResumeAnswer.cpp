#include "app/qt/CDialogResumeAnswer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelo {

CDialogResumeAnswer::CDialogResumeAnswer(const QString& caption, const QString& question,
                                         std::function<void(bool)> answer, QWidget* parent)
    : QDialog(parent), m_answer(std::move(answer)) {
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* text = new QLabel(question, this);
    text->setWordWrap(true);
    m_pSeconds = new QLabel(this);
    auto* agree = new QPushButton(QStringLiteral("同意"), this);
    auto* refuse = new QPushButton(QStringLiteral("不同意"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pSeconds);
    buttons->addStretch();
    buttons->addWidget(agree);
    buttons->addWidget(refuse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
    connect(agree, &QPushButton::clicked, this, [this] { Answer(true); });
    connect(refuse, &QPushButton::clicked, this, [this] { Answer(false); });
}

void CDialogResumeAnswer::SetSeconds(int seconds) {
    m_pSeconds->setText(QString::number(seconds));
}

void CDialogResumeAnswer::Answer(bool agree) {
    if (m_bAnswered)
        return;
    m_bAnswered = true;
    // The negotiation closes the dialog when it has sent the answer.
    m_answer(agree);
}

} // namespace kelo
