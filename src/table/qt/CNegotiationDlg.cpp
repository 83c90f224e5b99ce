// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/qt/CNegotiationDlg.h"

#include <QPushButton>

namespace kelo {

CNegotiationDlg::CNegotiationDlg(CNegotiationDialog& model, QWidget* parent)
    : CTableDialog(QString::fromStdString(model.Caption()), QString::fromStdString(model.Title()),
                   parent),
      m_pModel(&model) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(model.Width(), model.Height());
    std::vector<ButtonFace> faces;
    for (const auto& button : model.Buttons())
        faces.push_back(
            {QString::fromStdString(button.label), QString::fromStdString(button.hint)});
    const std::vector<QPushButton*> pushes = AddButtonRow(faces);
    for (size_t i = 0; i < pushes.size(); ++i) {
        const int32_t id = model.Buttons()[i].id;
        connect(pushes[i], &QPushButton::clicked, this, [this, id] {
            if (m_pModel != nullptr)
                m_pModel->Press(id);
        });
    }
    model.SetView(this);
    // What the dialog paints is read out from its name and description.
    setAccessibleName(
        QString::fromStdString(model.Title().empty() ? model.Caption() : model.Title()));
    setAccessibleDescription(QString::fromStdString(model.Text()));
}

void CNegotiationDlg::reject() {
    if (m_pModel != nullptr && !m_pModel->Buttons().empty()) {
        m_pModel->Press(m_pModel->Buttons().back().id);
        return;
    }
    CTableDialog::reject();
}

CNegotiationDlg::~CNegotiationDlg() {
    if (m_pModel != nullptr)
        m_pModel->SetView(nullptr);
}

QStringList CNegotiationDlg::TextLines() const {
    if (m_pModel == nullptr)
        return {};
    const QString countdown = QString::fromStdString(m_pModel->CountdownLine());
    // The exit dialog shows its seconds on a line of their own; the others within the text.
    if (m_pModel->GetKind() == CNegotiationDialog::Kind::GameClose) {
        QStringList lines{QString::fromStdString(m_pModel->Text())};
        if (!m_pModel->Question().empty())
            lines << QString::fromStdString(m_pModel->Question());
        return lines << countdown;
    }
    return {countdown};
}

void CNegotiationDlg::OnDialogChanged() {
    update();
}

void CNegotiationDlg::OnDialogClosed() {
    m_pModel = nullptr;
    close();
}

} // namespace kelo
