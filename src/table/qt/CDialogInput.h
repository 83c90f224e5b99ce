// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/qt/CTableDialog.h"

class QLineEdit;

namespace kelo {

// One line of text asked modally in the table's look: the caption painted as the title, the
// label before the edit line and one button "确定". Closing it in any other way leaves the text
// unconfirmed.
class CDialogInput : public CTableDialog {
public:
    CDialogInput(const QString& caption, const QString& label, const QString& text,
                 QWidget* parent = nullptr);

    QString Text() const;
    const QString& Label() const { return m_label; }

protected:
    QRect TextBand() const override;

private:
    QString m_label;
    QLineEdit* m_pEdit = nullptr;
};

} // namespace kelo
