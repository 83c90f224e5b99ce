// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/IniTypes.h"

namespace kelo {

// Where a window of the given size goes that belongs to the owner window: beside it on the
// right, else on the left, else below or above, wherever it lies whole on the screen and off
// the owner. Where nothing fits (a table that fills a small screen), over the owner's right
// edge, which holds its panels rather than the board, kept on the screen. Returns the top-left
// corner.
CPoint PlaceBeside(const CRect& screen, const CRect& owner, CPoint size, int32_t gap = 8);

} // namespace kelo
