// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/IPrompts.h"
#include "table/CDialogManual.h"

#include <QDialog>
#include <QImage>

#include <memory>

class QListWidget;
class QPushButton;

namespace kelo {

class CBaseDiagram;
class CChnBoardStudyImp;
class CPlayerManager;
class CSkinManager;
class IEventLoop;
class ISoundPlayer;

// The study window "棋谱研究": the study board on the left, the list of moves beside it and a
// column of seven buttons. It draws the study dialog and hands its clicks on; "关闭" and the
// close box only hide it. The study board's messages and promotion choice are asked over it.
class CDialogManualWnd : public QDialog, public IDialogManualView, public IPrompts {
public:
    // What the window reads and shows: the table's position (its moves), the people (the seats
    // and colours), the loop of the replay timer, the skin and the sounds.
    CDialogManualWnd(const CBaseDiagram& table, const CPlayerManager& people, IEventLoop& loop,
                     const CSkinManager& skin, ISoundPlayer* sound);
    ~CDialogManualWnd() override;

    // A further study window, without a parent, shown at once. It lives until owner goes (the
    // table's window), since it reads the table's parts.
    static CDialogManualWnd* Open(QObject& owner, const CBaseDiagram& table,
                                  const CPlayerManager& people, IEventLoop& loop,
                                  const CSkinManager& skin, ISoundPlayer* sound);

    CDialogManual& Model() { return *m_pModel; }
    CChnBoardStudyImp& Host() { return *m_pHost; }
    QListWidget* List() const { return m_pList; }
    QPushButton* Button(const QString& caption) const;

    // IDialogManualView
    void OnListChanged() override;

    // IPrompts: the study board's questions.
    PieceKind ChoosePromotion() override;
    void ShowNotice(const std::string& text) override;
    bool AskYesNo(const std::string&) override { return false; }
    bool Verify(const std::string&, const std::string&, const std::string&) override {
        return false;
    }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnSelectionChanged();
    void PlaceWindow();
    // Beside the table's window where the screen has room for it.
    void PlaceBeside(const QWidget& table);

    IEventLoop& m_loop;
    QString m_caption;
    QImage m_promotionPieces;
    QImage m_tile;
    CChnBoardStudyImp* m_pHost = nullptr;
    std::unique_ptr<CDialogManual> m_pModel;
    QListWidget* m_pList = nullptr;
    QPushButton* m_pAuto = nullptr;
    bool m_bSyncing = false;
};

} // namespace kelo
