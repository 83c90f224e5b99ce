// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/CMoveBoxWnd.h"

#include "table/CMoveBox.h"

#include <QKeyEvent>

namespace kelo {

CMoveBoxWnd::CMoveBoxWnd(CMoveBox& box, QWidget* parent) : QLineEdit(parent), m_box(box) {
    setAccessibleName(QStringLiteral("输入着法"));
    setPlaceholderText(QStringLiteral("输入着法 (Ctrl+M)"));
    setToolTip(QString::fromUtf8(CMoveBox::HELP) + QStringLiteral("\nCtrl+M 到这里，Esc 回到棋盘"));
    connect(this, &QLineEdit::returnPressed, this, [this] { Enter(); });
}

void CMoveBoxWnd::Enter() {
    const CMoveBox::Answer answer = m_box.Enter(text().toStdString());
    if (answer.sent)
        clear();
    if (!answer.line.empty() && onAnswer)
        onAnswer(QString::fromStdString(answer.line));
}

void CMoveBoxWnd::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && onEscape) {
        onEscape();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace kelo
