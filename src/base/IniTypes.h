// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace kelo {

// The value forms that ini files carry besides flags, integers and texts. All coordinates are
// pixels of the main view's client area.

// A colour with red in the low byte, then green, then blue (the Windows layout that skins were
// written for).
using COLORREF = uint32_t;

constexpr COLORREF MakeColor(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<COLORREF>(red) | static_cast<COLORREF>(green) << 8 |
           static_cast<COLORREF>(blue) << 16;
}

struct CRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const CRect&) const = default;
};

struct CPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const CPoint&) const = default;
};

struct CSize {
    int32_t cx = 0;
    int32_t cy = 0;
    bool operator==(const CSize&) const = default;
};

} // namespace kelo
