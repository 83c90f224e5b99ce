// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/IniTypes.h"

#include <array>
#include <string>

namespace kelo {

class CSkinManager;
class CTableMode;

// The main view's own six buttons: where they are, which state each is drawn in, and which one
// a click acts on. A press outside every button moves the window.
class CMainViewButtons {
public:
    enum Id { CLOSE, MINIMIZE, HALL, SETTINGS, HELP, EXIT, COUNT, NONE = -1 };
    enum State { NORMAL = 0, HOT = 1, PRESSED = 2 };

    struct Button {
        CRect rect;
        bool hasImage = false;
        State state = NORMAL;
    };

    // The rectangles of the skin, shifted into the view by its client offset (the caption
    // buttons by the horizontal offset only). Which main buttons have images is told here.
    void SetFromSkin(const CSkinManager& skin, const std::array<bool, COUNT>& hasImage);

    // A main button is there only with its image and a rectangle at least a pixel wide and
    // high; the caption buttons are always there.
    bool IsShown(Id id) const;
    // How the table is played, for the buttons that depend on it (none: every button works).
    void SetTableMode(const CTableMode* mode) { m_pMode = mode; }
    // A shown button that can be pressed: the hall's is not, on a table without a hall.
    bool IsEnabled(Id id) const;
    // Why a shown button cannot be pressed; empty while it can.
    std::string WhyOff(Id id) const;
    Id HitTest(int32_t x, int32_t y) const;
    const Button& ButtonAt(Id id) const { return m_buttons[id]; }

    // Each returns true when a button's state changed (to repaint).
    bool OnMouseMove(int32_t x, int32_t y);
    // The button pressed, or NONE: the press then moves the window.
    Id OnLButtonDown(int32_t x, int32_t y);
    // The button whose action the release performs, or NONE.
    Id OnLButtonUp(int32_t x, int32_t y);
    bool OnMouseLeave();

private:
    std::array<Button, COUNT> m_buttons{};
    Id m_pressed = NONE;
    const CTableMode* m_pMode = nullptr;
};

} // namespace kelo
