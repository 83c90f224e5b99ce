// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>

#include <vector>

namespace kelo {

class CChessBoardWnd;

// What a screen reader finds of the painted board: a table of 64 cells, row by row as the
// player sees the board, each named by its square and what stands on it ("e4 白方兵", "e5 空"),
// selected while its piece is picked up, described as the last move's square, focused under
// the keyboard cursor. A cell's focus action moves the cursor there; its press action acts as
// a click.
class CBoardAccessible : public QAccessibleWidget {
public:
    explicit CBoardAccessible(CChessBoardWnd* board);
    ~CBoardAccessible() override;

    // Makes Qt ask this file for the board's and the painted buttons' interfaces; once per
    // process.
    static void Install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    CChessBoardWnd* Board() const;

    mutable std::vector<QAccessible::Id> m_cells;
};

} // namespace kelo
