// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CSkinManager.h"

#include "base/CGbkConverter.h"
#include "base/CIniFile.h"

#include <algorithm>
#include <limits>

namespace kelo {

namespace {

const char* const SECTION = "chess";

// Skin values are not trusted to stay in range when added.
int32_t ClampedSum(int32_t a, int32_t b) {
    const int64_t sum = int64_t{a} + b;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

CRect RectOf(CPoint corner, CPoint size) {
    return CRect{corner.x, corner.y, ClampedSum(corner.x, size.x), ClampedSum(corner.y, size.y)};
}

// Reads a text and converts it from the file's GBK.
bool ReadText(CIniFile& ini, const char* key, std::string& value) {
    std::string gbk;
    if (!ini.ReadString(SECTION, key, gbk))
        return false;
    value = CGbkConverter::ToUtf8(gbk);
    return true;
}

// The rectangles of one player's panel; their keys differ only by the panel's prefix.
void ReadPlayerRects(CIniFile& ini, const std::string& prefix, CSkinManager::PlayerRects& player) {
    const std::pair<const char*, CRect*> keys[] = {
        {"showrect", &player.m_rcShow},         {"headpicrect", &player.m_rcHeadPic},
        {"colorrect", &player.m_rcColor},       {"nicknamerect", &player.m_rcNickName},
        {"usernamerect", &player.m_rcUserName}, {"totaltimerect", &player.m_rcTotalTime},
        {"pacetimerect", &player.m_rcPaceTime}, {"pacenumrect", &player.m_rcPaceNum},
    };
    for (const auto& [key, rect] : keys)
        ini.ReadRect(SECTION, prefix + key, *rect);
}

} // namespace

CTextFormat::Align CSkinManager::AlignmentOf(int32_t value) {
    if (value == 0)
        return CTextFormat::ALIGN_LEFT;
    if (value == 2)
        return CTextFormat::ALIGN_RIGHT;
    return CTextFormat::ALIGN_CENTER;
}

void CSkinManager::LoadSkin(const std::string& dataFolder, int screenWidth) {
    *this = CSkinManager();

    m_strBaseFolder = dataFolder + "skin/image/";
    m_strSkinFolder = m_strBaseFolder + (screenWidth < LARGE_SCREEN_WIDTH ? "800/" : "1024/");

    m_strChessPiecePath = m_strSkinFolder + "chess.gif";
    m_strChessPieceBorderPath = m_strSkinFolder + "frame.png";
    m_strActionBtnPath = m_strSkinFolder + "actionbtn.bmp";
    m_strFrmBackPath = m_strSkinFolder + "frmback.bmp";
    m_strMinPath = m_strSkinFolder + "min.bmp";
    m_strClosePath = m_strSkinFolder + "close.bmp";
    m_strHallBtnPath = m_strSkinFolder + "hallbtn.bmp";
    m_strSetBtnPath = m_strSkinFolder + "setbtn.bmp";
    m_strHelpBtnPath = m_strSkinFolder + "helpbtn.bmp";
    m_strExitBtnPath = m_strSkinFolder + "exitbtn.bmp";
    m_strNumPath = m_strSkinFolder + "num.bmp";

    // The formats exist whether or not the description can be read; the user-name format
    // always shortens with an ellipsis and draws unclipped.
    m_fmtUserName.m_bEndEllipsis = true;
    m_fmtUserName.m_bNoClip = true;

    CIniFile ini;
    ini.SetFileName("config");
    ini.SetPath(m_strSkinFolder);
    if (!ini.OpenForRead())
        return;

    // Read in the order that the description format has always been read in; it does not
    // change the results (every read starts at the section line again) but keeps the two
    // comparable.
    ini.ReadPoint(SECTION, "size", m_sizeWindow);
    ini.ReadPoint(SECTION, "rectangle", m_ptRoundCorner);
    ReadText(ini, "title", m_strTitle);
    ini.ReadInt(SECTION, "titlexoffset", m_nTitleXOffset);
    ini.ReadInt(SECTION, "titleyoffset", m_nTitleYOffset);
    ini.ReadColor(SECTION, "titlecolor", m_clrTitle);

    ReadPlayerRects(ini, "top", m_player[0]);
    ini.ReadRect(SECTION, "totaltimerect", m_rcTotalTime);
    ini.ReadRect(SECTION, "pacetimerect", m_rcPaceTime);
    ini.ReadRect(SECTION, "paceaddtimerect", m_rcPaceAddTime);
    ReadPlayerRects(ini, "bottom", m_player[1]);

    ini.ReadColor(SECTION, "timeinfocolor", m_clrTimeInfo);
    ini.ReadColor(SECTION, "personinfocolor", m_clrPersonInfo);
    ini.ReadColor(SECTION, "hotinfocolor", m_clrHotInfo);
    ReadText(ini, "personinfofontname", m_strPersonInfoFontName);
    ini.ReadInt(SECTION, "personinfofontsize", m_nPersonInfoFontSize);
    ReadText(ini, "nicknamefontname", m_strNickNameFontName);
    ini.ReadInt(SECTION, "nicknamefontsize", m_nNickNameFontSize);
    ini.ReadColor(SECTION, "nicknamecolor", m_clrNickName);
    ini.ReadInt(SECTION, "nicknamealignment", m_nNickNameAlignment);
    ini.ReadInt(SECTION, "usernamealignment", m_nUserNameAlignment);

    ini.ReadRect(SECTION, "chessboardrect", m_rcChessBoard);
    ini.ReadSize(SECTION, "chessoffset", m_sizeChessOffset);
    ini.ReadPoint(SECTION, "labelLeft", m_ptLabelLeft);
    ini.ReadPoint(SECTION, "labelbottom", m_ptLabelBottom);

    m_strPieceIconPath = m_strSkinFolder + "PieceIcon.png";
    ini.ReadPoint(SECTION, "piecesize", m_sizePiece);
    ini.ReadPoint(SECTION, "pieceintervalsize", m_sizePieceInterval);
    ini.ReadRect(SECTION, "buttonboardrect", m_rcButtonBoard);
    ini.ReadPoint(SECTION, "buttonsize", m_sizeButton);
    ini.ReadPoint(SECTION, "buttonintervalsize", m_sizeButtonInterval);
    ini.ReadInt(SECTION, "buttoncol", m_nButtonCol);
    ini.ReadInt(SECTION, "buttonrow", m_nButtonRow);
    ini.ReadRect(SECTION, "sysbtnexit", m_rcSysBtnExit);
    ini.ReadRect(SECTION, "sysbtnmin", m_rcSysBtnMin);
    ini.ReadPoint(SECTION, "advpoint", m_ptAdv);
    ini.ReadPoint(SECTION, "advsize", m_sizeAdv);
    ini.ReadRect(SECTION, "userlistrect", m_rcUserList);
    ini.ReadRect(SECTION, "chatrect", m_rcChat);
    ini.ReadPoint(SECTION, "hallbuttonpoint", m_ptHallButton);
    ini.ReadPoint(SECTION, "setbuttonpoint", m_ptSetButton);
    ini.ReadPoint(SECTION, "helpbuttonpoint", m_ptHelpButton);
    ini.ReadPoint(SECTION, "exitbuttonpoint", m_ptExitButton);
    ini.ReadPoint(SECTION, "hallbuttonsize", m_sizeHallButton);
    ini.ReadPoint(SECTION, "setbuttonsize", m_sizeSetButton);
    ini.ReadPoint(SECTION, "helpbuttonsize", m_sizeHelpButton);
    ini.ReadPoint(SECTION, "exitbuttonsize", m_sizeExitButton);
    ini.ReadRect(SECTION, "actionbuttonrect", m_rcActionButton);
    std::string actionButtonBack;
    ReadText(ini, "actionbuttonback", actionButtonBack);
    std::string chessPieceFile;
    ReadText(ini, "chesspiecefile", chessPieceFile);
    std::string chessPieceBorderFile;
    ReadText(ini, "chesspieceborderfile", chessPieceBorderFile);
    ini.ReadColor(SECTION, "listbackcolor", m_clrListBack);
    ini.ReadColor(SECTION, "listtextcolor", m_clrListText);
    ini.ReadColor(SECTION, "listselfbackcolor", m_clrListSelfBack);
    ini.ReadColor(SECTION, "listselectcolor", m_clrListSelect);
    ini.ReadColor(SECTION, "listselectbkcolor", m_clrListSelectBk);

    m_fmtNickName.m_nAlign = AlignmentOf(m_nNickNameAlignment);
    m_fmtUserName.m_nAlign = AlignmentOf(m_nUserNameAlignment);

    m_rcAdv = RectOf(m_ptAdv, m_sizeAdv);
    m_rcHallButton = RectOf(m_ptHallButton, m_sizeHallButton);
    m_rcSetButton = RectOf(m_ptSetButton, m_sizeSetButton);
    m_rcHelpButton = RectOf(m_ptHelpButton, m_sizeHelpButton);
    m_rcExitButton = RectOf(m_ptExitButton, m_sizeExitButton);

    if (!actionButtonBack.empty())
        m_strActionButtonBackPath = m_strSkinFolder + actionButtonBack;
    if (!chessPieceFile.empty())
        m_strChessPiecePath = m_strSkinFolder + chessPieceFile;
    if (!chessPieceBorderFile.empty())
        m_strChessPieceBorderPath = m_strSkinFolder + chessPieceBorderFile;

    ini.Close();
}

} // namespace kelo
