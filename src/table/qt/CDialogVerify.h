// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/qt/CTableDialog.h"

namespace kelo {

// A question in the table's look, asked modally: the question, a confirming button and a
// cancelling one with the caller's labels. Closing it in any other way cancels.
class CDialogVerify : public CTableDialog {
public:
    CDialogVerify(const QString& question, const QString& okLabel, const QString& cancelLabel,
                  QWidget* parent = nullptr);

    // True once the confirming button was pressed.
    bool Confirmed() const { return m_bConfirmed; }

private:
    bool m_bConfirmed = false;
};

} // namespace kelo
