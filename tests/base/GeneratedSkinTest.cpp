// SPDX-License-Identifier: GPL-3.0-or-later
// The skin and sounds that the build generates (data/make_skin.py), read as the program reads
// them.
#include "base/CSkinManager.h"
#include "base/SettingsFolders.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#ifndef KELO_DATA_FOLDER
#error "KELO_DATA_FOLDER names the build tree's data folder"
#endif

namespace kelo {
namespace {

struct ImageSize {
    int32_t width = -1;
    int32_t height = -1;
    bool operator==(const ImageSize&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ImageSize& size) {
    return out << size.width << "x" << size.height;
}

std::string Head(const std::string& path, size_t count) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

uint32_t Le32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}

uint32_t Be32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) << 24 | uint32_t(uint8_t(b[at + 1])) << 16 |
           uint32_t(uint8_t(b[at + 2])) << 8 | uint32_t(uint8_t(b[at + 3]));
}

// The size from a BMP's or PNG's header; -1 x -1 for anything else.
ImageSize SizeOf(const std::string& path) {
    const std::string head = Head(path, 32);
    if (head.size() >= 26 && head.compare(0, 2, "BM") == 0)
        return {static_cast<int32_t>(Le32(head, 18)), static_cast<int32_t>(Le32(head, 22))};
    if (head.size() >= 24 && head.compare(1, 3, "PNG") == 0)
        return {static_cast<int32_t>(Be32(head, 16)), static_cast<int32_t>(Be32(head, 20))};
    return {};
}

ImageSize SizeOf(const CRect& r) {
    return {r.right - r.left, r.bottom - r.top};
}

ImageSize ThreeStates(const CRect& r) {
    return {3 * (r.right - r.left), r.bottom - r.top};
}

// The same picture drawn at twice the size for high-density screens: name@2x.ext.
std::string Dense(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    return path.substr(0, dot) + "@2x" + path.substr(dot);
}

ImageSize Twice(const ImageSize& size) {
    return {2 * size.width, 2 * size.height};
}

bool Overlap(const CRect& a, const CRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

class GeneratedSkinTest : public ::testing::TestWithParam<std::pair<int, std::string>> {
protected:
    void SetUp() override { m_skin.LoadSkin(KELO_DATA_FOLDER, GetParam().first); }
    CSkinManager m_skin;
};

TEST_P(GeneratedSkinTest, EveryImageItNamesExistsAtTheSizeTheLayoutNeeds) {
    const CSkinManager& s = m_skin;
    ASSERT_EQ(s.m_strSkinFolder, std::string(KELO_DATA_FOLDER) + "skin/image/" + GetParam().second);
    ASSERT_GT(s.m_sizeWindow.x, 0) << "config.ini was not read";

    const std::pair<std::string, ImageSize> images[] = {
        {s.m_strFrmBackPath, {s.m_sizeWindow.x, s.m_sizeWindow.y}},
        {s.m_strMinPath, ThreeStates(s.m_rcSysBtnMin)},
        {s.m_strClosePath, ThreeStates(s.m_rcSysBtnExit)},
        {s.m_strHallBtnPath, ThreeStates(s.m_rcHallButton)},
        {s.m_strSetBtnPath, ThreeStates(s.m_rcSetButton)},
        {s.m_strHelpBtnPath, ThreeStates(s.m_rcHelpButton)},
        {s.m_strExitBtnPath, ThreeStates(s.m_rcExitButton)},
        {s.m_strActionBtnPath, ThreeStates(s.m_rcActionButton)},
        {s.m_strActionButtonBackPath, SizeOf(s.m_rcActionButton)},
        {s.m_strNumPath, {13 * 11, 23}},
        {s.m_strChessPiecePath, {14 * s.m_sizePiece.x, s.m_sizePiece.y}},
        {s.m_strChessPieceBorderPath, {s.m_sizePieceInterval.x, s.m_sizePieceInterval.y}},
        {s.m_strBaseFolder + "studyboard.bmp", {360, 360}},
        {s.m_strBaseFolder + "studychess.png", {14 * 38, 38}},
    };
    for (const auto& [path, size] : images) {
        EXPECT_EQ(SizeOf(path), size) << path;
        EXPECT_EQ(SizeOf(Dense(path)), Twice(size)) << Dense(path);
    }
    for (const char* state : {"normal", "hover", "pressed", "disabled"}) {
        const std::string path = s.m_strSkinFolder + "btn" + state + ".bmp";
        EXPECT_EQ(SizeOf(path), (ImageSize{s.m_sizeButton.x, s.m_sizeButton.y})) << path;
        EXPECT_EQ(SizeOf(Dense(path)), Twice(SizeOf(path))) << path;
    }

    // Captured pieces lie in two rows below the frame, not on the squares or the labels: the
    // frame is the grid with its margin on each side, and the board window has one square of
    // height more. Half a square's height or so, so that a piece reads at a glance.
    const ImageSize icons = SizeOf(s.m_strPieceIconPath);
    EXPECT_EQ(SizeOf(Dense(s.m_strPieceIconPath)), Twice(icons));
    EXPECT_GT(icons.width, 0);
    EXPECT_EQ(icons.width % 14, 0);
    const int32_t margin = s.m_sizeChessOffset.cy - s.m_sizePieceInterval.y / 2;
    const int32_t frameBottom = 2 * margin + 8 * s.m_sizePieceInterval.y;
    EXPECT_LE(frameBottom + 2 * icons.height, s.m_rcChessBoard.bottom - s.m_rcChessBoard.top);
    EXPECT_GE(icons.height, s.m_sizePieceInterval.y / 2 - 4);
}

TEST_P(GeneratedSkinTest, BoxesLieInsideTheWindowAndDoNotOverlap) {
    const CSkinManager& s = m_skin;
    const CRect title{s.m_nTitleXOffset, s.m_nTitleYOffset, s.m_nTitleXOffset + 400,
                      s.m_nTitleYOffset + 14};
    std::vector<std::pair<std::string, CRect>> boxes = {
        {"chessboardrect", s.m_rcChessBoard},
        {"buttonboardrect", s.m_rcButtonBoard},
        {"userlistrect", s.m_rcUserList},
        {"chatrect", s.m_rcChat},
        {"adv", s.m_rcAdv},
        {"actionbuttonrect", s.m_rcActionButton},
        {"sysbtnexit", s.m_rcSysBtnExit},
        {"sysbtnmin", s.m_rcSysBtnMin},
        {"hallbutton", s.m_rcHallButton},
        {"setbutton", s.m_rcSetButton},
        {"helpbutton", s.m_rcHelpButton},
        {"exitbutton", s.m_rcExitButton},
        {"title", title},
        {"totaltimerect", s.m_rcTotalTime},
        {"pacetimerect", s.m_rcPaceTime},
        {"paceaddtimerect", s.m_rcPaceAddTime},
    };
    for (int side = 0; side < 2; ++side) {
        const auto& p = s.m_player[side];
        const std::string prefix = side == 0 ? "top" : "bottom";
        for (const auto& [name, rect] : {std::pair{"showrect", p.m_rcShow},
                                         {"headpicrect", p.m_rcHeadPic},
                                         {"colorrect", p.m_rcColor},
                                         {"nicknamerect", p.m_rcNickName},
                                         {"usernamerect", p.m_rcUserName},
                                         {"totaltimerect", p.m_rcTotalTime},
                                         {"pacetimerect", p.m_rcPaceTime},
                                         {"pacenumrect", p.m_rcPaceNum}})
            boxes.emplace_back(prefix + name, rect);
    }

    for (size_t i = 0; i < boxes.size(); ++i) {
        const auto& [name, r] = boxes[i];
        EXPECT_LT(r.left, r.right) << name;
        EXPECT_LT(r.top, r.bottom) << name;
        // The title's box is wider than the text it holds and may run past the edge.
        if (name != "title") {
            EXPECT_GE(r.left, 0) << name;
            EXPECT_GE(r.top, 0) << name;
            EXPECT_LE(r.right, s.m_sizeWindow.x) << name;
            EXPECT_LE(r.bottom, s.m_sizeWindow.y) << name;
        }
        for (size_t j = i + 1; j < boxes.size(); ++j)
            EXPECT_FALSE(Overlap(r, boxes[j].second)) << name << " and " << boxes[j].first;
    }
}

TEST_P(GeneratedSkinTest, BoardAndButtonBoardFitTheirWindows) {
    const CSkinManager& s = m_skin;
    // The board window is as large as the board makes itself: the grid offset (the centre of
    // the top-left square) on each side of eight squares.
    EXPECT_EQ(SizeOf(s.m_rcChessBoard),
              (ImageSize{2 * s.m_sizeChessOffset.cx + 8 * s.m_sizePieceInterval.x,
                         2 * s.m_sizeChessOffset.cy + 8 * s.m_sizePieceInterval.y}));
    EXPECT_LE(s.m_sizePiece.x, s.m_sizePieceInterval.x);
    EXPECT_LE(s.m_sizePiece.y, s.m_sizePieceInterval.y);
    // The turn sign is a piece drawn into the colour box unscaled.
    EXPECT_EQ(SizeOf(s.m_player[0].m_rcColor), (ImageSize{s.m_sizePiece.x, s.m_sizePiece.y}));

    EXPECT_EQ(s.m_nButtonCol * s.m_nButtonRow, 8);
    EXPECT_LE((s.m_nButtonCol - 1) * s.m_sizeButtonInterval.x + s.m_sizeButton.x,
              s.m_rcButtonBoard.right - s.m_rcButtonBoard.left);
    EXPECT_LE((s.m_nButtonRow - 1) * s.m_sizeButtonInterval.y + s.m_sizeButton.y,
              s.m_rcButtonBoard.bottom - s.m_rcButtonBoard.top);
    EXPECT_GT(s.m_sizeButtonInterval.x, s.m_sizeButton.x);
    EXPECT_GT(s.m_sizeButtonInterval.y, s.m_sizeButton.y);

    EXPECT_EQ(s.m_strTitle, "国际象棋");
    EXPECT_FALSE(s.m_strPersonInfoFontName.empty());
    EXPECT_FALSE(s.m_strNickNameFontName.empty());
    EXPECT_GT(s.m_nPersonInfoFontSize, 0);
    EXPECT_GT(s.m_nNickNameFontSize, 0);
}

INSTANTIATE_TEST_SUITE_P(BothSizes, GeneratedSkinTest,
                         ::testing::Values(std::pair{1023, std::string("800/")},
                                           std::pair{1024, std::string("1024/")}));

// The four sounds: 16-bit PCM, short enough not to tire anyone.
// The head pictures lie in the layout of the hall's picture folder; the icons in that of the
// icon theme, as PNG at 48, 128 and 256 pixels and as SVG.
TEST(GeneratedPicturesTest, HeadPicturesAndIcons) {
    const std::string data = KELO_DATA_FOLDER;
    for (int i = 0; i < 8; ++i) {
        const std::string path = data + "room/headpica/IDI_" + std::to_string(i) + ".png";
        EXPECT_EQ(SizeOf(path), (ImageSize{32, 32})) << path;
        EXPECT_EQ(SizeOf(Dense(path)), (ImageSize{64, 64})) << path;
    }
    for (const std::string& name : {std::string("apps/kelo-chess"),
                                    std::string("mimetypes/application-x-kelo-chess-record")}) {
        for (int32_t side : {48, 128, 256}) {
            const std::string path = data + "icons/hicolor/" + std::to_string(side) + "x" +
                                     std::to_string(side) + "/" + name + ".png";
            EXPECT_EQ(SizeOf(path), (ImageSize{side, side})) << path;
        }
        const std::string svg = Head(data + "icons/hicolor/scalable/" + name + ".svg", 200);
        EXPECT_NE(svg.find("<svg "), std::string::npos) << name;
        EXPECT_NE(svg.find("viewBox=\"0 0 256 256\""), std::string::npos) << name;
    }
}

TEST(GeneratedSoundsTest, AreShortPcmWaves) {
    for (int id : {501, 502, 503, 504, 505}) {
        const std::string path =
            std::string(KELO_DATA_FOLDER) + "sound/" + std::to_string(id) + ".wav";
        const std::string head = Head(path, 44);
        ASSERT_EQ(head.size(), 44u) << path;
        EXPECT_EQ(head.substr(0, 4), "RIFF") << path;
        EXPECT_EQ(head.substr(8, 8), "WAVEfmt ") << path;
        const uint32_t rate = Le32(head, 24);
        const uint32_t bytesPerSecond = Le32(head, 28);
        const uint32_t dataBytes = Le32(head, 40);
        ASSERT_GT(rate, 0u);
        EXPECT_EQ(head.substr(36, 4), "data") << path;
        EXPECT_GT(dataBytes, 0u) << path;
        EXPECT_LT(dataBytes * 1000.0 / bytesPerSecond, 150.0) << path;
    }
}

// The build tree's program finds the data beside itself; an installed one in ../share.
TEST(DataFolderTest, InstalledDataWinsOverTheProgramsFolder) {
    test::ScratchFolder scratch;
    const std::string bin = scratch.Folder() + "bin";
    std::filesystem::create_directories(bin);
    EXPECT_EQ(SettingsFolders::DataFolderOf(bin), bin + "/");
    std::filesystem::create_directories(scratch.Folder() + "share/kelo-chess/skin/image");
    EXPECT_EQ(SettingsFolders::DataFolderOf(bin), bin + "/../share/kelo-chess/");
}

// The help page lies in the data folder, as the help button looks for it, in Chinese, with the
// keys, the move box, the buttons and the rules.
TEST(GeneratedPicturesTest, TheHelpPageLiesInTheDataFolder) {
    const std::string page = Head(std::string(KELO_DATA_FOLDER) + "help/index.html", 100000);
    ASSERT_FALSE(page.empty());
    for (const char* part :
         {"<html lang=\"zh-CN\">", "<meta charset=\"utf-8\">", "id=\"keys\"", "id=\"movebox\"",
          "id=\"buttons\"", "id=\"rules\"", "Ctrl+M", "F1", "悔棋", "和棋"})
        EXPECT_NE(page.find(part), std::string::npos) << part;
}

} // namespace
} // namespace kelo
