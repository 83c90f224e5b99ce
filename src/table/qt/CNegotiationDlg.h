// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/CNegotiationDialog.h"

#include "table/qt/CTableDialog.h"

namespace kelo {

// A negotiation dialog in the table's look: a dark title band with the title in white, the
// question and the seconds left, and the dialog's buttons. It is modeless and moves with the
// mouse from any spot that is not a button. A click goes to the dialog's model; the window
// closes when the model does.
class CNegotiationDlg : public CTableDialog, public CNegotiationDialog::IView {
public:
    CNegotiationDlg(CNegotiationDialog& model, QWidget* parent = nullptr);
    ~CNegotiationDlg() override;

    QStringList TextLines() const override;
    // Escape answers with the last button (refuse, cancel or the only one), so that the
    // dialog never just vanishes while its model waits.
    void reject() override;

    // CNegotiationDialog::IView
    void OnDialogChanged() override;
    void OnDialogClosed() override;

private:
    CNegotiationDialog* m_pModel;
};

} // namespace kelo
