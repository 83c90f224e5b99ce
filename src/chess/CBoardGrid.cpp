// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CBoardGrid.h"

namespace kelo {

namespace {
// Rounds towards minus infinity, so that a point left of the grid never lands on column 0.
int32_t FloorDiv(int32_t a, int32_t b) {
    const int32_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}
} // namespace

void CBoardGrid::SetGrid(CPoint squareSize, CSize offset, CPoint pieceSize) {
    if (squareSize.x <= 0 || squareSize.y <= 0)
        return;
    m_nSquareWidth = squareSize.x;
    m_nSquareHeight = squareSize.y;
    m_nOffsetX = offset.cx;
    m_nOffsetY = offset.cy;
    if (pieceSize.x > 0 && pieceSize.y > 0) {
        m_nPieceWidth = pieceSize.x;
        m_nPieceHeight = pieceSize.y;
    }
}

CPoint CBoardGrid::SquareToPixel(CBasePoint square) const {
    return {m_nOffsetX + square.x * m_nSquareWidth, m_nOffsetY + square.y * m_nSquareHeight};
}

CBasePoint CBoardGrid::PixelToSquare(int32_t x, int32_t y) const {
    const int32_t dx = x + m_nSquareWidth / 2 - m_nOffsetX;
    const int32_t dy = y + m_nSquareHeight / 2 - m_nOffsetY;
    return CBasePoint(FloorDiv(dx, m_nSquareWidth), FloorDiv(dy, m_nSquareHeight));
}

} // namespace kelo
