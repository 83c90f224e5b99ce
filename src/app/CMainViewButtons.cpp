// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CMainViewButtons.h"

#include "base/CSkinManager.h"
#include "link/CTableMode.h"

namespace kelo {

namespace {
CRect Shifted(CRect rect, int32_t dx, int32_t dy) {
    return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}
bool Contains(const CRect& rect, int32_t x, int32_t y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}
} // namespace

void CMainViewButtons::SetFromSkin(const CSkinManager& skin,
                                   const std::array<bool, COUNT>& hasImage) {
    const int32_t dx = skin.m_nClientOffsetX;
    const int32_t dy = skin.m_nClientOffsetY;
    m_buttons[CLOSE].rect = Shifted(skin.m_rcSysBtnExit, dx, 0);
    m_buttons[MINIMIZE].rect = Shifted(skin.m_rcSysBtnMin, dx, 0);
    m_buttons[HALL].rect = Shifted(skin.m_rcHallButton, dx, dy);
    m_buttons[SETTINGS].rect = Shifted(skin.m_rcSetButton, dx, dy);
    m_buttons[HELP].rect = Shifted(skin.m_rcHelpButton, dx, dy);
    m_buttons[EXIT].rect = Shifted(skin.m_rcExitButton, dx, dy);
    for (int i = 0; i < COUNT; ++i) {
        m_buttons[i].hasImage = hasImage[i];
        m_buttons[i].state = NORMAL;
    }
    m_pressed = NONE;
}

bool CMainViewButtons::IsShown(Id id) const {
    if (id == CLOSE || id == MINIMIZE)
        return true;
    const Button& button = m_buttons[id];
    return button.hasImage && button.rect.right - button.rect.left >= 1 &&
           button.rect.bottom - button.rect.top >= 1;
}

bool CMainViewButtons::IsEnabled(Id id) const {
    return IsShown(id) && WhyOff(id).empty();
}

std::string CMainViewButtons::WhyOff(Id id) const {
    if (id == HALL && m_pMode != nullptr && m_pMode->LocalMode())
        return "本机对局没有游戏大厅";
    return {};
}

CMainViewButtons::Id CMainViewButtons::HitTest(int32_t x, int32_t y) const {
    for (int i = 0; i < COUNT; ++i) {
        const Id id = static_cast<Id>(i);
        if (IsShown(id) && Contains(m_buttons[i].rect, x, y))
            return id;
    }
    return NONE;
}

bool CMainViewButtons::OnMouseMove(int32_t x, int32_t y) {
    const Id over = HitTest(x, y);
    bool changed = false;
    for (int i = 0; i < COUNT; ++i) {
        // A button that cannot be pressed does not light up.
        State state = i == over && IsEnabled(over) ? HOT : NORMAL;
        if (state == HOT && m_pressed == over)
            state = PRESSED;
        changed = changed || m_buttons[i].state != state;
        m_buttons[i].state = state;
    }
    return changed;
}

CMainViewButtons::Id CMainViewButtons::OnLButtonDown(int32_t x, int32_t y) {
    m_pressed = HitTest(x, y);
    if (m_pressed != NONE && IsEnabled(m_pressed))
        m_buttons[m_pressed].state = PRESSED;
    return m_pressed;
}

CMainViewButtons::Id CMainViewButtons::OnLButtonUp(int32_t x, int32_t y) {
    const Id over = HitTest(x, y);
    const Id pressed = m_pressed;
    m_pressed = NONE;
    OnMouseMove(x, y);
    // The action is the button under the cursor, as long as the press began on it and it can
    // be pressed.
    return over == pressed && over != NONE && IsEnabled(over) ? over : NONE;
}

bool CMainViewButtons::OnMouseLeave() {
    bool changed = false;
    for (Button& button : m_buttons) {
        changed = changed || button.state != NORMAL;
        button.state = NORMAL;
    }
    return changed;
}

} // namespace kelo
