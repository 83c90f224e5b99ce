// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/IniTypes.h"

#include <cstdint>
#include <string>

namespace kelo {

// How a text is placed in its box. The shell turns a format into its own text flags.
struct CTextFormat {
    enum Align { ALIGN_LEFT, ALIGN_CENTER, ALIGN_RIGHT };
    Align m_nAlign = ALIGN_LEFT;
    // Text that does not fit ends in an ellipsis character.
    bool m_bEndEllipsis = false;
    // Drawing is not clipped to the box.
    bool m_bNoClip = false;
};

// The skin: where every window and button sits, the fonts, colours and alignments of the
// player panels, and the image files of the window. It is read from "config.ini" in the skin
// folder, one folder for screens narrower than 1024 pixels and one for wider ones. The images
// themselves are loaded by the shell from the paths given here.
//
// A skin supplies every key; one that is missing leaves its value zero (or empty), and a
// missing description leaves all of them so. Texts in the description are GBK and are held
// here in UTF-8.
class CSkinManager {
public:
    // Screens at least this wide use the large skin.
    static constexpr int LARGE_SCREEN_WIDTH = 1024;

    CSkinManager() = default;
    virtual ~CSkinManager() = default;

    // Resets every value, then reads the skin below dataFolder (the program's data folder,
    // ending in "/") for a primary screen this many pixels wide. The shell loads one skin at
    // start-up and hands it to whoever draws.
    void LoadSkin(const std::string& dataFolder, int screenWidth);

    // The nickname and user-name formats take their alignment from the skin, where 0 means
    // left, 2 right and any other value centred.
    static CTextFormat::Align AlignmentOf(int32_t value);

    // Folders, ending in "/": "skin/image/" of the data folder, and the skin folder below it.
    std::string m_strBaseFolder;
    std::string m_strSkinFolder;

    // Images of the main view, in the skin folder.
    std::string m_strFrmBackPath;
    std::string m_strMinPath;
    std::string m_strClosePath;
    std::string m_strHallBtnPath;
    std::string m_strSetBtnPath;
    std::string m_strHelpBtnPath;
    std::string m_strExitBtnPath;
    // Clock digits: a strip of 13 x 23 images with magenta as the transparent colour.
    std::string m_strNumPath;
    std::string m_strActionBtnPath;
    // Images used by other windows; empty until the description names or implies them.
    std::string m_strChessPiecePath;
    std::string m_strChessPieceBorderPath;
    std::string m_strPieceIconPath;
    std::string m_strActionButtonBackPath;

    // Window.
    CPoint m_sizeWindow;
    // The ellipse that rounds the window's corners.
    CPoint m_ptRoundCorner;
    std::string m_strTitle;
    int32_t m_nTitleXOffset = 0;
    int32_t m_nTitleYOffset = 0;
    COLORREF m_clrTitle = 0;
    // Not read from the skin: the main view's shift of skin rectangles into its coordinates.
    int16_t m_nClientOffsetX = 0;
    int32_t m_nClientOffsetY = 0;

    // Player information: index 0 is the opponent's panel at the top, 1 the user's at the
    // bottom.
    struct PlayerRects {
        CRect m_rcShow;
        CRect m_rcHeadPic;
        CRect m_rcColor;
        CRect m_rcNickName;
        CRect m_rcUserName;
        CRect m_rcTotalTime;
        CRect m_rcPaceTime;
        CRect m_rcPaceNum;
    };
    PlayerRects m_player[2];
    CRect m_rcTotalTime;
    CRect m_rcPaceTime;
    CRect m_rcPaceAddTime;
    COLORREF m_clrTimeInfo = 0;
    COLORREF m_clrPersonInfo = 0;
    COLORREF m_clrHotInfo = 0;
    std::string m_strPersonInfoFontName;
    int32_t m_nPersonInfoFontSize = 0;
    std::string m_strNickNameFontName;
    int32_t m_nNickNameFontSize = 0;
    COLORREF m_clrNickName = 0;
    int32_t m_nNickNameAlignment = 0;
    int32_t m_nUserNameAlignment = 0;
    CTextFormat m_fmtNickName;
    CTextFormat m_fmtUserName;
    CTextFormat m_fmtDefault;

    // Board.
    CRect m_rcChessBoard;
    CSize m_sizeChessOffset;
    CPoint m_ptLabelLeft;
    CPoint m_ptLabelBottom;
    CPoint m_sizePiece;
    CPoint m_sizePieceInterval;

    // Button board.
    CRect m_rcButtonBoard;
    CPoint m_sizeButton;
    CPoint m_sizeButtonInterval;
    int32_t m_nButtonCol = 0;
    int32_t m_nButtonRow = 0;

    // Other windows and buttons.
    CRect m_rcSysBtnExit;
    CRect m_rcSysBtnMin;
    CPoint m_ptAdv;
    CPoint m_sizeAdv;
    CRect m_rcAdv;
    CRect m_rcUserList;
    CRect m_rcChat;
    CPoint m_ptHallButton, m_ptSetButton, m_ptHelpButton, m_ptExitButton;
    CPoint m_sizeHallButton, m_sizeSetButton, m_sizeHelpButton, m_sizeExitButton;
    CRect m_rcHallButton, m_rcSetButton, m_rcHelpButton, m_rcExitButton;
    CRect m_rcActionButton;

    // Person list.
    COLORREF m_clrListBack = 0;
    COLORREF m_clrListText = 0;
    COLORREF m_clrListSelfBack = 0;
    COLORREF m_clrListSelect = 0;
    COLORREF m_clrListSelectBk = 0;
};

} // namespace kelo
