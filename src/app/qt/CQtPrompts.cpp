// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/CQtPrompts.h"

#include "base/qt/CQtStockWords.h"
#include "table/CNegotiationDialog.h"
#include "table/qt/CDialogInput.h"
#include "table/qt/CDialogVerify.h"
#include "table/qt/CNegotiationDlg.h"
#include "table/qt/CPromoteDlg.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>

namespace kelo {

CQtPrompts::CQtPrompts(QString caption, IEventLoop& loop, QImage pieces)
    : m_caption(std::move(caption)), m_loop(loop), m_pieces(std::move(pieces)) {}

CQtPrompts::~CQtPrompts() = default;

PieceKind CQtPrompts::ChoosePromotion() {
    const Colour colour = m_promotionColour ? m_promotionColour() : Colour::White;
    CPromoteDlg dialog(m_loop, m_pieces, IsSide(colour) ? colour : Colour::White, m_pParent);
    dialog.exec();
    return dialog.Chosen();
}

void CQtPrompts::ShowNotice(const std::string& text) {
    if (m_spoken)
        m_spoken(text);
    CQtStockWords::Load();
    QMessageBox::information(m_pParent, m_caption, QString::fromStdString(text));
}

void CQtPrompts::ShowInformation(const std::string& text, bool modal) {
    if (m_spoken)
        m_spoken(text);
    std::erase_if(m_informations, [](const auto& dialog) { return dialog->IsClosed(); });
    auto model = std::make_unique<CNegotiationDialog>(CNegotiationDialog::Kind::Information, true,
                                                      m_loop, nullptr, text);
    QPointer<CNegotiationDlg> window = new CNegotiationDlg(*model, m_pParent);
    if (!modal) {
        m_informations.push_back(std::move(model));
        window->show();
        return;
    }
    // Until its button or its countdown closes it; closed otherwise, it closes the model too.
    window->setModal(true);
    window->exec();
    if (!window.isNull())
        window->close();
}

void CQtPrompts::ShowError(const std::string& text) {
    if (m_spoken)
        m_spoken(text);
    CQtStockWords::Load();
    QMessageBox::critical(m_pParent, m_caption, QString::fromStdString(text));
}

bool CQtPrompts::AskYesNo(const std::string& question) {
    CQtStockWords::Load();
    return QMessageBox::question(m_pParent, m_caption, QString::fromStdString(question)) ==
           QMessageBox::Yes;
}

bool CQtPrompts::AskOkCancel(const std::string& question) {
    CQtStockWords::Load();
    return QMessageBox::question(m_pParent, m_caption, QString::fromStdString(question),
                                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

bool CQtPrompts::Verify(const std::string& question, const std::string& okLabel,
                        const std::string& cancelLabel) {
    CDialogVerify dialog(QString::fromStdString(question), QString::fromStdString(okLabel),
                         QString::fromStdString(cancelLabel), m_pParent);
    dialog.exec();
    return dialog.Confirmed();
}

namespace {

// "label|pattern|label|pattern||" as the file dialogs take it: "label;;label".
QString FileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList labels;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (!parts[i].isEmpty())
            labels << parts[i];
    }
    return labels.join(";;");
}

std::string ChooseFile(QWidget* parent, bool save, const std::string& folder,
                       const std::string& name, const std::string& filter,
                       const std::string& extension) {
    // Names on disk are bytes in the locale's encoding (UTF-8).
    CQtStockWords::Load();
    QFileDialog dialog(parent, QString(), QFile::decodeName(folder.c_str()), FileFilter(filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QString::fromStdString(extension));
    if (save)
        dialog.selectFile(QFile::decodeName(name.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

} // namespace

std::string CQtPrompts::ChooseSaveFile(const std::string& folder, const std::string& name,
                                       const std::string& filter, const std::string& extension) {
    return ChooseFile(m_pParent, true, folder, name, filter, extension);
}

std::string CQtPrompts::ChooseOpenFile(const std::string& folder, const std::string& name,
                                       const std::string& filter, const std::string& extension) {
    return ChooseFile(m_pParent, false, folder, name, filter, extension);
}

bool CQtPrompts::InputText(const std::string& caption, const std::string& label,
                           std::string& text) {
    CDialogInput dialog(QString::fromStdString(caption), QString::fromStdString(label),
                        QString::fromStdString(text), m_pParent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text = dialog.Text().toStdString();
    return true;
}

} // namespace kelo
