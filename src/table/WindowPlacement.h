// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/IniTypes.h"

namespace kelo {

// Where a window of the given size goes that belongs to the owner window: beside it on the
// right, else on the left, else below or above, wherever it lies whole on the screen and off
// the owner. Where nothing fits (a table that fills most of a small screen), in the screen's
// bottom right corner: over whatever free space the screen has beside and below the owner, then
// over the owner's right part, which holds its panels rather than the board. Returns the
// top-left corner.
CPoint PlaceBeside(const CRect& screen, const CRect& owner, CPoint size, int32_t gap = 8);

} // namespace kelo
