#include "app/qt/CQtPrompts.h"

#include "table/qt/CPromoteDlg.h"

#include <QMessageBox>
#include <QPushButton>

namespace kelo {

PieceKind CQtPrompts::ChoosePromotion() {
    const Colour colour = m_promotionColour ? m_promotionColour() : Colour::White;
    CPromoteDlg dialog(m_loop, m_pieces, IsSide(colour) ? colour : Colour::White, m_pParent);
    dialog.exec();
    return dialog.Chosen();
}

void CQtPrompts::ShowNotice(const std::string& text) {
    QMessageBox::information(m_pParent, m_caption, QString::fromStdString(text));
}

bool CQtPrompts::AskYesNo(const std::string& question) {
    return QMessageBox::question(m_pParent, m_caption, QString::fromStdString(question)) ==
           QMessageBox::Yes;
}

bool CQtPrompts::Verify(const std::string& question, const std::string& okLabel,
                        const std::string& cancelLabel) {
    QMessageBox box(QMessageBox::Question, m_caption, QString::fromStdString(question),
                    QMessageBox::NoButton, m_pParent);
    QPushButton* ok = box.addButton(QString::fromStdString(okLabel), QMessageBox::AcceptRole);
    box.addButton(QString::fromStdString(cancelLabel), QMessageBox::RejectRole);
    box.exec();
    return box.clickedButton() == ok;
}

} // namespace kelo
