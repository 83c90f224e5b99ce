// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBrush>
#include <QFont>
#include <QMenu>
#include <QSize>

namespace kelo {

// An owner-drawn popup menu: every item has one set size and is drawn on a green brush (or a
// background pattern), the selected one on the system highlight, its text centred; a checked
// item shows "√" in a 20-pixel column at the left.
class CGameMenu : public QMenu {
public:
    explicit CGameMenu(QWidget* parent = nullptr);
    ~CGameMenu() override;

    void SetItemSize(int width, int height);
    QSize ItemSize() const { return m_itemSize; }
    // A picture that replaces the green brush.
    void SetBackgroundPattern(const QImage& pattern);
    const QBrush& NormalBrush() const { return m_normal; }

private:
    class Style;
    QBrush m_normal;
    QSize m_itemSize{50, 30};
    QFont m_font;
    Style* m_pStyle;
};

} // namespace kelo
