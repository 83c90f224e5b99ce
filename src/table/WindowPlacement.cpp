// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/WindowPlacement.h"

#include <algorithm>

namespace kelo {

namespace {
int32_t Clamp(int32_t value, int32_t low, int32_t high) {
    return high < low ? low : std::clamp(value, low, high);
}
} // namespace

CPoint PlaceBeside(const CRect& screen, const CRect& owner, CPoint size, int32_t gap) {
    // The owner's top or left edge, moved so that the window stays on the screen.
    const int32_t alongY = Clamp(owner.top, screen.top, screen.bottom - size.y);
    const int32_t alongX = Clamp(owner.left, screen.left, screen.right - size.x);
    const CPoint tries[] = {
        {owner.right + gap, alongY},
        {owner.left - gap - size.x, alongY},
        {alongX, owner.bottom + gap},
        {alongX, owner.top - gap - size.y},
    };
    for (const CPoint& at : tries) {
        if (at.x >= screen.left && at.y >= screen.top && at.x + size.x <= screen.right &&
            at.y + size.y <= screen.bottom)
            return at;
    }
    // The screen's bottom right corner: the free strips beside and below the owner are
    // covered first, then the owner's right part; the board at its left stays in view.
    return {Clamp(screen.right - size.x, screen.left, screen.right - size.x),
            Clamp(screen.bottom - size.y, screen.top, screen.bottom - size.y)};
}

} // namespace kelo
