// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CSkinManager.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace kelo {
namespace {

using test::ScratchFolder;
using test::WriteFile;

// A complete description as skins write it: GBK texts, CR LF line ends, every key once.
const std::string kFullSkin = "[chess]\r\n"
                              "size=1000,700\r\n"
                              "rectangle=8,9\r\n"
                              "title=\xB9\xFA\xBC\xCA\xCF\xF3\xC6\xE5\r\n" // "国际象棋" in GBK
                              "titlexoffset=12\r\n"
                              "titleyoffset=4\r\n"
                              "titlecolor=255,255,0\r\n"
                              "topshowrect=1,2,3,4\r\n"
                              "topheadpicrect=5,6,7,8\r\n"
                              "topcolorrect=10,11,12,13\r\n"
                              "topnicknamerect=14,15,16,17\r\n"
                              "topusernamerect=18,19,20,21\r\n"
                              "toptotaltimerect=22,23,24,25\r\n"
                              "toppacetimerect=26,27,28,29\r\n"
                              "toppacenumrect=30,31,32,33\r\n"
                              "totaltimerect=34,35,36,37\r\n"
                              "pacetimerect=38,39,40,41\r\n"
                              "paceaddtimerect=42,43,44,45\r\n"
                              "bottomshowrect=101,102,103,104\r\n"
                              "bottomheadpicrect=105,106,107,108\r\n"
                              "bottomcolorrect=110,111,112,113\r\n"
                              "bottomnicknamerect=114,115,116,117\r\n"
                              "bottomusernamerect=118,119,120,121\r\n"
                              "bottomtotaltimerect=122,123,124,125\r\n"
                              "bottompacetimerect=126,127,128,129\r\n"
                              "bottompacenumrect=130,131,132,133\r\n"
                              "timeinfocolor=1,2,3\r\n"
                              "personinfocolor=4,5,6\r\n"
                              "hotinfocolor=7,8,9\r\n"
                              "personinfofontname=\xCB\xCE\xCC\xE5\r\n" // "宋体"
                              "personinfofontsize=9\r\n"
                              "nicknamefontname=Sans\r\n"
                              "nicknamefontsize=11\r\n"
                              "nicknamecolor=10,20,30\r\n"
                              "nicknamealignment=2\r\n"
                              "usernamealignment=1\r\n"
                              "chessboardrect=200,50,680,530\r\n"
                              "chessoffset=20,21\r\n"
                              "labelLeft=3,30\r\n"
                              "labelbottom=40,470\r\n"
                              "piecesize=52,53\r\n"
                              "pieceintervalsize=55,56\r\n"
                              "buttonboardrect=700,400,950,500\r\n"
                              "buttonsize=60,24\r\n"
                              "buttonintervalsize=64,28\r\n"
                              "buttoncol=3\r\n"
                              "buttonrow=4\r\n"
                              "sysbtnexit=970,2,990,20\r\n"
                              "sysbtnmin=940,2,960,20\r\n"
                              "advpoint=10,600\r\n"
                              "advsize=300,80\r\n"
                              "userlistrect=700,50,990,200\r\n"
                              "chatrect=700,210,990,390\r\n"
                              "hallbuttonpoint=1,1\r\n"
                              "setbuttonpoint=2,2\r\n"
                              "helpbuttonpoint=3,3\r\n"
                              "exitbuttonpoint=4,4\r\n"
                              "hallbuttonsize=10,11\r\n"
                              "setbuttonsize=20,21\r\n"
                              "helpbuttonsize=30,31\r\n"
                              "exitbuttonsize=40,41\r\n"
                              "actionbuttonrect=5,6,7,8\r\n"
                              "actionbuttonback=act.bmp\r\n"
                              "chesspiecefile=pieces.png\r\n"
                              "chesspieceborderfile=border.png\r\n"
                              "listbackcolor=0,0,1\r\n"
                              "listtextcolor=0,1,0\r\n"
                              "listselfbackcolor=1,0,0\r\n"
                              "listselectcolor=2,0,0\r\n"
                              "listselectbkcolor=0,0,2\r\n"
                              "unknownkey=ignored\r\n";

TEST(CSkinManagerTest, ReadsEveryKeyOfAFullSkin) {
    ScratchFolder scratch;
    const std::string skinFolder = scratch.Folder() + "skin/image/1024/";
    WriteFile(skinFolder + "config.ini", kFullSkin);
    CSkinManager skin;
    skin.LoadSkin(scratch.Folder(), 1280);

    EXPECT_EQ(skin.m_strBaseFolder, scratch.Folder() + "skin/image/");
    EXPECT_EQ(skin.m_strSkinFolder, skinFolder);
    EXPECT_EQ(skin.m_sizeWindow, (CPoint{1000, 700}));
    EXPECT_EQ(skin.m_ptRoundCorner, (CPoint{8, 9}));
    EXPECT_EQ(skin.m_strTitle, "国际象棋");
    EXPECT_EQ(skin.m_nTitleXOffset, 12);
    EXPECT_EQ(skin.m_nTitleYOffset, 4);
    EXPECT_EQ(skin.m_clrTitle, MakeColor(255, 255, 0));

    const CSkinManager::PlayerRects& top = skin.m_player[0];
    const CSkinManager::PlayerRects& bottom = skin.m_player[1];
    EXPECT_EQ(top.m_rcShow, (CRect{1, 2, 3, 4}));
    EXPECT_EQ(top.m_rcHeadPic, (CRect{5, 6, 7, 8}));
    EXPECT_EQ(top.m_rcColor, (CRect{10, 11, 12, 13}));
    EXPECT_EQ(top.m_rcNickName, (CRect{14, 15, 16, 17}));
    EXPECT_EQ(top.m_rcUserName, (CRect{18, 19, 20, 21}));
    EXPECT_EQ(top.m_rcTotalTime, (CRect{22, 23, 24, 25}));
    EXPECT_EQ(top.m_rcPaceTime, (CRect{26, 27, 28, 29}));
    EXPECT_EQ(top.m_rcPaceNum, (CRect{30, 31, 32, 33}));
    EXPECT_EQ(skin.m_rcTotalTime, (CRect{34, 35, 36, 37}));
    EXPECT_EQ(skin.m_rcPaceTime, (CRect{38, 39, 40, 41}));
    EXPECT_EQ(skin.m_rcPaceAddTime, (CRect{42, 43, 44, 45}));
    EXPECT_EQ(bottom.m_rcShow, (CRect{101, 102, 103, 104}));
    EXPECT_EQ(bottom.m_rcHeadPic, (CRect{105, 106, 107, 108}));
    EXPECT_EQ(bottom.m_rcColor, (CRect{110, 111, 112, 113}));
    EXPECT_EQ(bottom.m_rcNickName, (CRect{114, 115, 116, 117}));
    EXPECT_EQ(bottom.m_rcUserName, (CRect{118, 119, 120, 121}));
    EXPECT_EQ(bottom.m_rcTotalTime, (CRect{122, 123, 124, 125}));
    EXPECT_EQ(bottom.m_rcPaceTime, (CRect{126, 127, 128, 129}));
    EXPECT_EQ(bottom.m_rcPaceNum, (CRect{130, 131, 132, 133}));

    EXPECT_EQ(skin.m_clrTimeInfo, MakeColor(1, 2, 3));
    EXPECT_EQ(skin.m_clrPersonInfo, MakeColor(4, 5, 6));
    EXPECT_EQ(skin.m_clrHotInfo, MakeColor(7, 8, 9));
    EXPECT_EQ(skin.m_strPersonInfoFontName, "宋体");
    EXPECT_EQ(skin.m_nPersonInfoFontSize, 9);
    EXPECT_EQ(skin.m_strNickNameFontName, "Sans");
    EXPECT_EQ(skin.m_nNickNameFontSize, 11);
    EXPECT_EQ(skin.m_clrNickName, MakeColor(10, 20, 30));
    EXPECT_EQ(skin.m_fmtNickName.m_nAlign, CTextFormat::ALIGN_RIGHT);
    EXPECT_EQ(skin.m_fmtUserName.m_nAlign, CTextFormat::ALIGN_CENTER);
    EXPECT_TRUE(skin.m_fmtUserName.m_bEndEllipsis);
    EXPECT_TRUE(skin.m_fmtUserName.m_bNoClip);

    EXPECT_EQ(skin.m_rcChessBoard, (CRect{200, 50, 680, 530}));
    EXPECT_EQ(skin.m_sizeChessOffset, (CSize{20, 21}));
    EXPECT_EQ(skin.m_ptLabelLeft, (CPoint{3, 30}));
    EXPECT_EQ(skin.m_ptLabelBottom, (CPoint{40, 470}));
    EXPECT_EQ(skin.m_sizePiece, (CPoint{52, 53}));
    EXPECT_EQ(skin.m_sizePieceInterval, (CPoint{55, 56}));
    EXPECT_EQ(skin.m_rcButtonBoard, (CRect{700, 400, 950, 500}));
    EXPECT_EQ(skin.m_sizeButton, (CPoint{60, 24}));
    EXPECT_EQ(skin.m_sizeButtonInterval, (CPoint{64, 28}));
    EXPECT_EQ(skin.m_nButtonCol, 3);
    EXPECT_EQ(skin.m_nButtonRow, 4);
    EXPECT_EQ(skin.m_rcSysBtnExit, (CRect{970, 2, 990, 20}));
    EXPECT_EQ(skin.m_rcSysBtnMin, (CRect{940, 2, 960, 20}));
    EXPECT_EQ(skin.m_rcUserList, (CRect{700, 50, 990, 200}));
    EXPECT_EQ(skin.m_rcChat, (CRect{700, 210, 990, 390}));
    EXPECT_EQ(skin.m_rcActionButton, (CRect{5, 6, 7, 8}));

    // Rectangles made of a corner and a size.
    EXPECT_EQ(skin.m_rcAdv, (CRect{10, 600, 310, 680}));
    EXPECT_EQ(skin.m_rcHallButton, (CRect{1, 1, 11, 12}));
    EXPECT_EQ(skin.m_rcSetButton, (CRect{2, 2, 22, 23}));
    EXPECT_EQ(skin.m_rcHelpButton, (CRect{3, 3, 33, 34}));
    EXPECT_EQ(skin.m_rcExitButton, (CRect{4, 4, 44, 45}));

    EXPECT_EQ(skin.m_clrListBack, MakeColor(0, 0, 1));
    EXPECT_EQ(skin.m_clrListText, MakeColor(0, 1, 0));
    EXPECT_EQ(skin.m_clrListSelfBack, MakeColor(1, 0, 0));
    EXPECT_EQ(skin.m_clrListSelect, MakeColor(2, 0, 0));
    EXPECT_EQ(skin.m_clrListSelectBk, MakeColor(0, 0, 2));

    EXPECT_EQ(skin.m_strFrmBackPath, skinFolder + "frmback.bmp");
    EXPECT_EQ(skin.m_strNumPath, skinFolder + "num.bmp");
    EXPECT_EQ(skin.m_strPieceIconPath, skinFolder + "PieceIcon.png");
    EXPECT_EQ(skin.m_strActionButtonBackPath, skinFolder + "act.bmp");
    EXPECT_EQ(skin.m_strChessPiecePath, skinFolder + "pieces.png");
    EXPECT_EQ(skin.m_strChessPieceBorderPath, skinFolder + "border.png");
    EXPECT_EQ(skin.m_nClientOffsetX, 0);
    EXPECT_EQ(skin.m_nClientOffsetY, 0);
}

TEST(CSkinManagerTest, ScreenWidthChoosesTheSkinFolder) {
    const struct {
        int width;
        const char* folder;
    } cases[] = {{640, "/d/skin/image/800/"},
                 {1023, "/d/skin/image/800/"},
                 {1024, "/d/skin/image/1024/"},
                 {1920, "/d/skin/image/1024/"}};
    for (const auto& c : cases) {
        CSkinManager skin;
        skin.LoadSkin("/d/", c.width);
        EXPECT_EQ(skin.m_strSkinFolder, c.folder) << c.width;
        EXPECT_EQ(skin.m_strBaseFolder, "/d/skin/image/");
        EXPECT_EQ(skin.m_strFrmBackPath, std::string(c.folder) + "frmback.bmp");
    }
}

TEST(CSkinManagerTest, MissingDescriptionLeavesZeroValuesAndDefaultPaths) {
    ScratchFolder scratch;
    CSkinManager skin;
    skin.LoadSkin(scratch.Folder(), 800);
    const std::string skinFolder = scratch.Folder() + "skin/image/800/";
    EXPECT_EQ(skin.m_sizeWindow, CPoint());
    EXPECT_EQ(skin.m_rcChessBoard, CRect());
    EXPECT_EQ(skin.m_rcAdv, CRect());
    EXPECT_TRUE(skin.m_strTitle.empty());
    EXPECT_EQ(skin.m_fmtNickName.m_nAlign, CTextFormat::ALIGN_LEFT);
    EXPECT_EQ(skin.m_strChessPiecePath, skinFolder + "chess.gif");
    EXPECT_EQ(skin.m_strChessPieceBorderPath, skinFolder + "frame.png");
    EXPECT_EQ(skin.m_strExitBtnPath, skinFolder + "exitbtn.bmp");
    // Named only once the description has been opened.
    EXPECT_TRUE(skin.m_strPieceIconPath.empty());
    EXPECT_TRUE(skin.m_strActionButtonBackPath.empty());
}

// The loose matching rules as a skin meets them.
TEST(CSkinManagerTest, SkinsDependOnTheMatchingRules) {
    ScratchFolder scratch;
    const std::string file = scratch.Folder() + "skin/image/1024/config.ini";
    CSkinManager skin;

    // An entry above the section line that contains "chess" is taken for the section line,
    // and so is not an entry itself.
    test::WriteFile(file, "chessboardrect=1,2,3,4\n[chess]\nsize=5,6\n");
    skin.LoadSkin(scratch.Folder(), 1024);
    EXPECT_EQ(skin.m_sizeWindow, (CPoint{5, 6}));
    EXPECT_EQ(skin.m_rcChessBoard, CRect());

    // A key that begins with "title" above the title is taken for it.
    test::WriteFile(file, "[chess]\ntitlexoffset=10\ntitle=Kelo\n");
    skin.LoadSkin(scratch.Folder(), 1024);
    EXPECT_EQ(skin.m_strTitle, "10");
    EXPECT_EQ(skin.m_nTitleXOffset, 10);

    // No piece file named: the defaults; a piece file but no frame: the frame stays.
    test::WriteFile(file, "[chess]\nchesspiecefile=p.png\nchesspieceborderfile=\n");
    skin.LoadSkin(scratch.Folder(), 1024);
    EXPECT_EQ(skin.m_strChessPiecePath, scratch.Folder() + "skin/image/1024/p.png");
    EXPECT_EQ(skin.m_strChessPieceBorderPath, scratch.Folder() + "skin/image/1024/frame.png");

    // A loaded skin forgets everything of the one before.
    test::WriteFile(file, "[chess]\n");
    skin.LoadSkin(scratch.Folder(), 1024);
    EXPECT_EQ(skin.m_sizeWindow, CPoint());
    EXPECT_EQ(skin.m_strChessPiecePath, scratch.Folder() + "skin/image/1024/chess.gif");
}

TEST(CSkinManagerTest, Alignments) {
    EXPECT_EQ(CSkinManager::AlignmentOf(0), CTextFormat::ALIGN_LEFT);
    EXPECT_EQ(CSkinManager::AlignmentOf(1), CTextFormat::ALIGN_CENTER);
    EXPECT_EQ(CSkinManager::AlignmentOf(2), CTextFormat::ALIGN_RIGHT);
    EXPECT_EQ(CSkinManager::AlignmentOf(5), CTextFormat::ALIGN_CENTER);
    EXPECT_EQ(CSkinManager::AlignmentOf(-1), CTextFormat::ALIGN_CENTER);
}

// Corner plus size must not overflow, whatever the description says.
TEST(CSkinManagerTest, DerivedRectanglesSaturate) {
    ScratchFolder scratch;
    test::WriteFile(scratch.Folder() + "skin/image/1024/config.ini",
                    "[chess]\nadvpoint=2147483647,-2147483648\nadvsize=10,-10\n");
    CSkinManager skin;
    skin.LoadSkin(scratch.Folder(), 1024);
    constexpr int32_t max = std::numeric_limits<int32_t>::max();
    constexpr int32_t min = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(skin.m_rcAdv, (CRect{max, min, max, min}));
}

} // namespace
} // namespace kelo
