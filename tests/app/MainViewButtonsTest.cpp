// SPDX-License-Identifier: GPL-3.0-or-later
// The main view's six buttons: where each is, how hover and press draw them, which click acts,
// and that a press on a free spot is left to the window's move.
#include "app/CMainViewButtons.h"
#include "base/CSkinManager.h"
#include "link/CTableMode.h"

#include <gtest/gtest.h>

namespace kelo {
namespace {

using Id = CMainViewButtons::Id;

// A skin with a client offset of (5, 20); the settings button has no image.
struct ViewButtons {
    ViewButtons() {
        skin.m_nClientOffsetX = 5;
        skin.m_nClientOffsetY = 20;
        skin.m_rcSysBtnExit = CRect{980, 2, 995, 17};
        skin.m_rcSysBtnMin = CRect{960, 2, 975, 17};
        skin.m_rcHallButton = CRect{700, 0, 740, 18};
        skin.m_rcSetButton = CRect{745, 0, 785, 18};
        skin.m_rcHelpButton = CRect{790, 0, 830, 18};
        skin.m_rcExitButton = CRect{835, 0, 875, 18};
        buttons.SetFromSkin(skin, {true, true, true, false, true, true});
    }
    CMainViewButtons::State StateOf(Id id) const { return buttons.ButtonAt(id).state; }

    CSkinManager skin;
    CMainViewButtons buttons;
};

TEST(MainViewButtons, HitTestFollowsTheSkinShiftedByTheClientOffset) {
    ViewButtons view;
    struct Case {
        int32_t x, y;
        Id expected;
    };
    const Case cases[] = {
        // Caption buttons move sideways only.
        {985, 2, CMainViewButtons::CLOSE},
        {999, 16, CMainViewButtons::CLOSE},
        {984, 2, CMainViewButtons::NONE},
        {1000, 2, CMainViewButtons::NONE},
        {965, 10, CMainViewButtons::MINIMIZE},
        // Main buttons move by both offsets; right and bottom edges are outside.
        {705, 20, CMainViewButtons::HALL},
        {744, 37, CMainViewButtons::HALL},
        {745, 20, CMainViewButtons::NONE},
        {705, 38, CMainViewButtons::NONE},
        {700, 10, CMainViewButtons::NONE},
        // Without its image the settings button is not there.
        {760, 25, CMainViewButtons::NONE},
        {800, 25, CMainViewButtons::HELP},
        {850, 25, CMainViewButtons::EXIT},
        {400, 400, CMainViewButtons::NONE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(view.buttons.HitTest(c.x, c.y), c.expected) << c.x << "," << c.y;
    EXPECT_FALSE(view.buttons.IsShown(CMainViewButtons::SETTINGS));
    EXPECT_TRUE(view.buttons.IsShown(CMainViewButtons::CLOSE));
}

TEST(MainViewButtons, HoverLightsOneButtonAndReportsOnlyChanges) {
    ViewButtons view;
    EXPECT_TRUE(view.buttons.OnMouseMove(710, 25));
    EXPECT_EQ(view.StateOf(CMainViewButtons::HALL), CMainViewButtons::HOT);
    EXPECT_FALSE(view.buttons.OnMouseMove(712, 26));
    // Straight from one button to the next.
    EXPECT_TRUE(view.buttons.OnMouseMove(800, 25));
    EXPECT_EQ(view.StateOf(CMainViewButtons::HALL), CMainViewButtons::NORMAL);
    EXPECT_EQ(view.StateOf(CMainViewButtons::HELP), CMainViewButtons::HOT);
    EXPECT_TRUE(view.buttons.OnMouseLeave());
    EXPECT_EQ(view.StateOf(CMainViewButtons::HELP), CMainViewButtons::NORMAL);
    EXPECT_FALSE(view.buttons.OnMouseLeave());
    EXPECT_FALSE(view.buttons.OnMouseMove(400, 400));
}

TEST(MainViewButtons, AClickActsOnlyWhenPressAndReleaseAreOnTheSameButton) {
    ViewButtons view;
    EXPECT_EQ(view.buttons.OnLButtonDown(710, 25), CMainViewButtons::HALL);
    EXPECT_EQ(view.StateOf(CMainViewButtons::HALL), CMainViewButtons::PRESSED);
    // Off the button it is drawn raised; back on it, pressed again.
    view.buttons.OnMouseMove(400, 400);
    EXPECT_EQ(view.StateOf(CMainViewButtons::HALL), CMainViewButtons::NORMAL);
    view.buttons.OnMouseMove(712, 25);
    EXPECT_EQ(view.StateOf(CMainViewButtons::HALL), CMainViewButtons::PRESSED);
    EXPECT_EQ(view.buttons.OnLButtonUp(712, 25), CMainViewButtons::HALL);
    EXPECT_EQ(view.StateOf(CMainViewButtons::HALL), CMainViewButtons::HOT);

    // Pressed on one button, released on another: nothing.
    view.buttons.OnLButtonDown(710, 25);
    EXPECT_EQ(view.buttons.OnLButtonUp(800, 25), CMainViewButtons::NONE);
    EXPECT_EQ(view.StateOf(CMainViewButtons::HALL), CMainViewButtons::NORMAL);
    EXPECT_EQ(view.StateOf(CMainViewButtons::HELP), CMainViewButtons::HOT);
}

// A local table has no hall: its button is there but does not light up or act, and says why;
// the press on it does not move the window either.
TEST(MainViewButtons, TheHallButtonIsOffOnALocalTable) {
    for (const bool local : {false, true}) {
        ViewButtons view;
        CTableMode mode;
        mode.SetLocalMode(local);
        view.buttons.SetTableMode(&mode);
        EXPECT_EQ(view.buttons.IsEnabled(CMainViewButtons::HALL), !local);
        EXPECT_EQ(view.buttons.WhyOff(CMainViewButtons::HALL), local ? "本机对局没有游戏大厅" : "");
        view.buttons.OnMouseMove(710, 25);
        EXPECT_EQ(view.StateOf(CMainViewButtons::HALL),
                  local ? CMainViewButtons::NORMAL : CMainViewButtons::HOT);
        EXPECT_EQ(view.buttons.OnLButtonDown(710, 25), CMainViewButtons::HALL);
        EXPECT_EQ(view.buttons.OnLButtonUp(710, 25),
                  local ? CMainViewButtons::NONE : CMainViewButtons::HALL);
        // The other buttons work on both.
        EXPECT_TRUE(view.buttons.IsEnabled(CMainViewButtons::HELP));
        EXPECT_TRUE(view.buttons.WhyOff(CMainViewButtons::HELP).empty());
    }
}

TEST(MainViewButtons, APressOnAFreeSpotIsTheWindowsMove) {
    ViewButtons view;
    // Neither a free spot nor the hidden settings button is a button: the view moves the window.
    EXPECT_EQ(view.buttons.OnLButtonDown(400, 400), CMainViewButtons::NONE);
    EXPECT_EQ(view.buttons.OnLButtonDown(760, 25), CMainViewButtons::NONE);
    for (int i = 0; i < CMainViewButtons::COUNT; ++i)
        EXPECT_EQ(view.StateOf(static_cast<Id>(i)), CMainViewButtons::NORMAL);
    // The move ends over a button: no action.
    EXPECT_EQ(view.buttons.OnLButtonUp(850, 25), CMainViewButtons::NONE);
    EXPECT_EQ(view.StateOf(CMainViewButtons::EXIT), CMainViewButtons::HOT);
}

} // namespace
} // namespace kelo
