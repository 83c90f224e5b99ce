// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QTreeWidget>

#include <vector>

namespace kelo {

class CGameMenu;
class CZynPersonListImp;

// The people at the table on screen: eight columns, a head picture per row, the own row on its
// own background, the seated players in the table's highlight. A double click raises the person
// event; the right button opens the list's menu. With KELO_SOCIAL_DUMP set every change is also
// printed on standard output ("people shown: USERNAME[*],..." with * at the own row).
class CPersonListWnd : public QTreeWidget {
public:
    // The list must outlive the window.
    CPersonListWnd(CZynPersonListImp& list, QWidget* parent = nullptr);
    ~CPersonListWnd() override;

    // The head pictures, by index; drawn at 16 by 16.
    void SetHeadPictures(const std::vector<QImage>& pictures);
    // The list's menu, made when it is first asked for (the first right click).
    CGameMenu* Menu();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Rebuild();
    // Every column at least as wide as its title, all of them inside the list when they can be.
    void FitColumns();

    CZynPersonListImp& m_list;
    std::vector<QIcon> m_heads;
    CGameMenu* m_pMenu = nullptr;
    bool m_bDump;
};

} // namespace kelo
