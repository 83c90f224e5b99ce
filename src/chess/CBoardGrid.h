// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/IniTypes.h"
#include "chess/CBasePoint.h"

#include <cstdint>

namespace kelo {

// Where the squares of a board window lie: the centre of the top-left screen square measured
// from the window's corner, and the pitch from one square to the next. Squares here are screen
// squares; turning them into model squares is the orientation's matter.
class CBoardGrid {
public:
    // Before a skin is read.
    static constexpr int32_t DEFAULT_SQUARE = 40;
    static constexpr int32_t DEFAULT_OFFSET = 28;
    static constexpr int32_t DEFAULT_PIECE = 35;

    // Values that make no grid (a zero pitch) leave the defaults.
    void SetGrid(CPoint squareSize, CSize offset, CPoint pieceSize);

    // Centre of a screen square in window pixels.
    CPoint SquareToPixel(CBasePoint square) const;
    // The screen square whose centre lies within half a square of the point in each direction;
    // points outside the grid give columns or rows outside 0..7.
    CBasePoint PixelToSquare(int32_t x, int32_t y) const;
    // The window the grid needs: eight squares with the same margin on each side as on the
    // top-left.
    int32_t Width() const { return 2 * m_nOffsetX + 7 * m_nSquareWidth; }
    int32_t Height() const { return 2 * m_nOffsetY + 7 * m_nSquareHeight; }

    int32_t m_nSquareWidth = DEFAULT_SQUARE;
    int32_t m_nSquareHeight = DEFAULT_SQUARE;
    int32_t m_nOffsetX = DEFAULT_OFFSET;
    int32_t m_nOffsetY = DEFAULT_OFFSET;
    int32_t m_nPieceWidth = DEFAULT_PIECE;
    int32_t m_nPieceHeight = DEFAULT_PIECE;
};

} // namespace kelo
