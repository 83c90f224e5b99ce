// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CBoardCursor.h"

#include "chess/CBoardGrid.h"
#include "table/CBoardWindowModel.h"

namespace kelo {

CBasePoint CBoardCursor::Square() const {
    return m_board.ToModel(CBasePoint(m_nColumn, m_nRow));
}

void CBoardCursor::SetSquare(CBasePoint model) {
    if (!m_board.IsOnBoard(model))
        return;
    const CBasePoint screen = m_board.ToScreen(model);
    m_nColumn = screen.x;
    m_nRow = screen.y;
}

bool CBoardCursor::Move(int dx, int dy) {
    const CBasePoint next(m_nColumn + dx, m_nRow + dy);
    if (!m_board.IsOnBoard(next))
        return false;
    m_nColumn = next.x;
    m_nRow = next.y;
    return true;
}

void CBoardCursor::Activate() {
    // Through the window's own mouse path, so that a key can do nothing a click could not.
    const CPoint at = m_board.Grid().SquareToPixel(CBasePoint(m_nColumn, m_nRow));
    m_board.OnMouseMove(at.x, at.y);
    m_board.OnLButtonDown(at.x, at.y);
    m_board.OnLButtonUp(at.x, at.y);
}

bool CBoardCursor::PutBack() {
    return m_board.PutBack();
}

} // namespace kelo
