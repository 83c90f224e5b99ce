// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

class QPainter;

namespace kelo {

class CBoardGrid;

// What a board window draws when the skin has no picture for it: a wooden board on a dark
// surround, and the pieces as solid chess figures in their side's colour.
void DrawFallbackBoard(QPainter& painter, const QRect& window, const CBoardGrid& grid);
// The piece of the sheet index (colour * 7 + slot) as a figure filling the box; slot 6, the
// king in check, glows red.
void DrawFallbackPiece(QPainter& painter, int index, const QRect& box);

} // namespace kelo
