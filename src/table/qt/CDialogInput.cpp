// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/CDialogInput.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>

namespace kelo {

namespace {
constexpr int WIDTH = 280;
constexpr int HEIGHT = 110;
constexpr int EDIT_TOP = 40;
constexpr int EDIT_HEIGHT = 22;
} // namespace

CDialogInput::CDialogInput(const QString& caption, const QString& label, const QString& text,
                           QWidget* parent)
    : CTableDialog(caption, caption, parent), m_label(label) {
    setModal(true);
    setFixedSize(WIDTH, HEIGHT);
    SetTextLines({label});
    const int labelWidth = QFontMetrics(DialogFont(14)).horizontalAdvance(label) + 8;
    m_pEdit = new QLineEdit(text, this);
    m_pEdit->setFont(DialogFont(12));
    m_pEdit->setGeometry(12 + labelWidth, EDIT_TOP, WIDTH - 24 - labelWidth, EDIT_HEIGHT);
    m_pEdit->selectAll();
    const auto buttons = AddButtonRow({{QStringLiteral("确定"), {}}});
    buttons[0]->setDefault(true);
    connect(buttons[0], &QPushButton::clicked, this, &QDialog::accept);
    m_pEdit->setFocus();
}

QString CDialogInput::Text() const {
    return m_pEdit->text();
}

QRect CDialogInput::TextBand() const {
    // The label sits left of the edit line, on its height.
    const int labelWidth = QFontMetrics(DialogFont(14)).horizontalAdvance(m_label) + 8;
    return QRect(12, EDIT_TOP - 8, labelWidth, EDIT_HEIGHT + 16);
}

} // namespace kelo
