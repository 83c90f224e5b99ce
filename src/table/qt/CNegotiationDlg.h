#pragma once

#include "table/CNegotiationDialog.h"

#include <QDialog>
#include <QStringList>

namespace kelo {

// A negotiation dialog in the table's look: a dark title band with the title in white, the
// question and the seconds left, and the dialog's buttons. It is modeless and moves with the
// mouse from any spot that is not a button. A click goes to the dialog's model; the window
// closes when the model does.
class CNegotiationDlg : public QDialog, public CNegotiationDialog::IView {
public:
    CNegotiationDlg(CNegotiationDialog& model, QWidget* parent = nullptr);
    ~CNegotiationDlg() override;

    // The lines of text the dialog shows now, top to bottom.
    QStringList TextLines() const;

    // CNegotiationDialog::IView
    void OnDialogChanged() override;
    void OnDialogClosed() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    CNegotiationDialog* m_pModel;
    QString m_title;
};

} // namespace kelo
