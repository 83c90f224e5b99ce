// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/SkinFallback.h"

#include "base/CSkinManager.h"

namespace kelo {

namespace {
CRect Box(int32_t x, int32_t y, int32_t w, int32_t h) {
    return CRect{x, y, x + w, y + h};
}
} // namespace

bool UseFallbackLayout(CSkinManager& skin) {
    if (skin.m_sizeWindow.x > 0 && skin.m_sizeWindow.y > 0)
        return false;
    skin.m_sizeWindow = {760, 540};
    skin.m_ptRoundCorner = {14, 14};
    skin.m_strTitle = "国际象棋";
    skin.m_nTitleXOffset = 14;
    skin.m_nTitleYOffset = 8;
    skin.m_clrTitle = MakeColor(236, 224, 196);

    // The board: squares of 56, the first centre 52 from the window's corner.
    skin.m_sizePieceInterval = {56, 56};
    skin.m_sizeChessOffset = {52, 52};
    skin.m_sizePiece = {48, 48};
    skin.m_rcChessBoard = Box(10, 32, 496, 496);
    skin.m_ptLabelLeft = {0, 0};
    skin.m_ptLabelBottom = {0, 0};

    // The right column: the opponent's panel, the buttons, the user's panel, people and chat.
    const int32_t x = 524, w = 226;
    auto panel = [&](CSkinManager::PlayerRects& rects, int32_t top) {
        rects.m_rcHeadPic = Box(x + 6, top + 8, 32, 32);
        rects.m_rcColor = Box(x + 6, top + 8, 32, 32);
        rects.m_rcNickName = Box(x + 44, top + 6, w - 50, 20);
        rects.m_rcUserName = Box(x + 44, top + 28, w - 50, 16);
        rects.m_rcTotalTime = Box(x + 50, top + 50, 70, 16);
        rects.m_rcPaceTime = Box(x + 160, top + 50, 60, 16);
        rects.m_rcPaceNum = Box(x + 50, top + 68, 70, 16);
    };
    panel(skin.m_player[0], 30);
    panel(skin.m_player[1], 270);
    skin.m_rcTotalTime = Box(x + 50, 126, 70, 16);
    skin.m_rcPaceTime = Box(x + 160, 126, 60, 16);
    skin.m_rcPaceAddTime = Box(x + 50, 144, 70, 16);
    skin.m_clrTimeInfo = MakeColor(200, 214, 196);
    skin.m_clrPersonInfo = MakeColor(236, 228, 208);
    skin.m_clrHotInfo = MakeColor(255, 196, 64);
    skin.m_clrNickName = MakeColor(255, 240, 200);
    skin.m_nPersonInfoFontSize = 9;
    skin.m_nNickNameFontSize = 11;
    skin.m_nNickNameAlignment = 0;
    skin.m_nUserNameAlignment = 0;
    skin.m_fmtNickName.m_nAlign = CTextFormat::ALIGN_LEFT;
    skin.m_fmtUserName.m_nAlign = CTextFormat::ALIGN_LEFT;

    skin.m_rcButtonBoard = Box(x + 3, 188, 220, 62);
    skin.m_sizeButton = {52, 29};
    skin.m_sizeButtonInterval = {56, 33};
    skin.m_nButtonCol = 4;
    skin.m_nButtonRow = 2;

    skin.m_rcUserList = Box(x, 366, w, 64);
    skin.m_rcChat = Box(x, 434, w, 76);
    skin.m_ptAdv = {x, 514};
    skin.m_sizeAdv = {w, 18};
    skin.m_rcAdv = Box(x, 514, w, 18);
    skin.m_rcSysBtnMin = Box(702, 4, 22, 18);
    skin.m_rcSysBtnExit = Box(728, 4, 22, 18);
    return true;
}

} // namespace kelo
