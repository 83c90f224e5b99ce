// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/CDialogVerify.h"

#include <QPushButton>

namespace kelo {

CDialogVerify::CDialogVerify(const QString& question, const QString& okLabel,
                             const QString& cancelLabel, QWidget* parent)
    : CTableDialog(QStringLiteral("确认窗口"), QStringLiteral("确认提示"), parent) {
    setModal(true);
    SetTextLines({question});
    setFixedSize(WidthForLines({question}, 260), 110);
    const auto buttons = AddButtonRow({{okLabel, {}}, {cancelLabel, {}}});
    connect(buttons[0], &QPushButton::clicked, this, [this] {
        m_bConfirmed = true;
        accept();
    });
    connect(buttons[1], &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace kelo
