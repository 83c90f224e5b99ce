// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/IPrompts.h"

#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace kelo {

class CNegotiationDialog;
class IEventLoop;

// The user's answers through message boxes and the table's own dialogs.
class CQtPrompts : public IPrompts {
public:
    // The caption of the message boxes, the loop that runs the dialogs' countdowns and the
    // skin's piece sheet for the promotion dialog.
    CQtPrompts(QString caption, IEventLoop& loop, QImage pieces);
    ~CQtPrompts() override;

    void SetParent(QWidget* parent) { m_pParent = parent; }
    // Where the notices, errors and informations are also said aloud (the table's spoken
    // line), before their box opens.
    void SetSpoken(std::function<void(const std::string&)> say) { m_spoken = std::move(say); }
    // The colour whose pawn is promoted, for the pictures of the promotion dialog.
    void SetPromotionColour(std::function<Colour()> colour) {
        m_promotionColour = std::move(colour);
    }

    PieceKind ChoosePromotion() override;
    void ShowNotice(const std::string& text) override;
    // The table's information dialog with its countdown.
    void ShowInformation(const std::string& text, bool modal) override;
    void ShowError(const std::string& text) override;
    bool AskYesNo(const std::string& question) override;
    bool AskOkCancel(const std::string& question) override;
    bool Verify(const std::string& question, const std::string& okLabel,
                const std::string& cancelLabel) override;
    std::string ChooseSaveFile(const std::string& folder, const std::string& name,
                               const std::string& filter, const std::string& extension) override;
    std::string ChooseOpenFile(const std::string& folder, const std::string& name,
                               const std::string& filter, const std::string& extension) override;
    bool InputText(const std::string& caption, const std::string& label,
                   std::string& text) override;

private:
    QString m_caption;
    IEventLoop& m_loop;
    QImage m_pieces;
    QWidget* m_pParent = nullptr;
    std::function<Colour()> m_promotionColour;
    std::function<void(const std::string&)> m_spoken;
    // The open information dialogs' models; closed ones go at the next notice.
    std::vector<std::unique_ptr<CNegotiationDialog>> m_informations;
};

} // namespace kelo
