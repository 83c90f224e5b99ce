// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CIniFile.h"
#include "base/GameSettings.h"

#include "ScratchFolder.h"
#include "support/TestSupport.h"
#include "support/UnblockingWait.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <iterator>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kelo {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;
using test::ScratchFolder;
using test::WriteFile;

enum class Form { Bool, Int, String, Color, Rect, Point };

struct ReadCase {
    const char* name;
    std::string file;
    Form form;
    const char* section;
    const char* key;
    // "-" when nothing may be found; otherwise the value as Show prints it.
    const char* expected;
};

// Reads one value and prints it, or "-" when the read fails. The output starts as a sentinel
// so that a failed read that still touched it shows up.
std::string Show(CIniFile& ini, const ReadCase& c) {
    switch (c.form) {
    case Form::Bool: {
        bool v = true;
        if (!ini.ReadBool(c.section, c.key, v))
            return v ? "-" : "touched";
        return v ? "true" : "false";
    }
    case Form::Int: {
        int32_t v = 77;
        if (!ini.ReadInt(c.section, c.key, v))
            return v == 77 ? "-" : "touched";
        return std::to_string(v);
    }
    case Form::String: {
        std::string v = "sentinel";
        if (!ini.ReadString(c.section, c.key, v))
            return v == "sentinel" ? "-" : "touched";
        return "'" + v + "'";
    }
    case Form::Color: {
        COLORREF v = 0x12345678;
        if (!ini.ReadColor(c.section, c.key, v))
            return v == 0x12345678 ? "-" : "touched";
        char text[16];
        std::snprintf(text, sizeof(text), "%06x", v);
        return text;
    }
    case Form::Rect: {
        CRect v{9, 9, 9, 9};
        if (!ini.ReadRect(c.section, c.key, v))
            return v == CRect{9, 9, 9, 9} ? "-" : "touched";
        return std::to_string(v.left) + "," + std::to_string(v.top) + "," +
               std::to_string(v.right) + "," + std::to_string(v.bottom);
    }
    case Form::Point: {
        CPoint v{9, 9};
        if (!ini.ReadPoint(c.section, c.key, v))
            return v == CPoint{9, 9} ? "-" : "touched";
        return std::to_string(v.x) + "," + std::to_string(v.y);
    }
    }
    return "?";
}

// The reading rules, including the loose ones that existing skins depend on. Line ends mix
// CR LF and LF on purpose.
const ReadCase kReadCases[] = {
    {"BlanksAroundEqualsSign", "[chessgame]\r\nsound = 1\r\n", Form::Bool, "chessgame", "sound",
     "true"},
    {"TextKeyMustBeginKeyPart", "[chessgame]\r\n manualpath=/r/\r\n", Form::String, "chessgame",
     "manualpath", "-"},
    {"TextKeyIsAPrefix", "[chessgame]\nmanualpathX=/r/\n", Form::String, "chessgame", "manualpath",
     "'/r/'"},
    {"FlagOrIntKeyAnywhereInKeyPart", "[chessgame]\nmy_savetype_x=3\n", Form::Int, "chessgame",
     "savetype", "3"},
    {"KeyInValueDoesNotMatch", "[chessgame]\nother=savetype\n", Form::Int, "chessgame", "savetype",
     "-"},
    {"FlagWordIsFalse", "[chessgame]\nsound=yes\n", Form::Bool, "chessgame", "sound", "false"},
    {"FlagWithBlanksTrimmed", "[chessgame]\nsound=  1  \n", Form::Bool, "chessgame", "sound",
     "true"},
    {"FlagWithTabIsFalse", "[chessgame]\nsound=1\t\n", Form::Bool, "chessgame", "sound", "false"},
    {"DigitsThenLetters", "[chessgame]\nsavetype=12abc\n", Form::Int, "chessgame", "savetype",
     "12"},
    {"EmptyIntIsZero", "[chessgame]\nsavetype=\n", Form::Int, "chessgame", "savetype", "0"},
    {"SignedIntWithBlanks", "[chessgame]\nsavetype=  -42x\n", Form::Int, "chessgame", "savetype",
     "-42"},
    {"HugeIntClamped", "[a]\nn=99999999999999999999\n", Form::Int, "a", "n", "2147483647"},
    {"HugeNegativeClamped", "[a]\nn=-99999999999999999999\n", Form::Int, "a", "n", "-2147483648"},
    {"BracketLineIsNeverAnEntry", "[chessgame]\nsound[x]=1\nsound=0\n", Form::Bool, "chessgame",
     "sound", "false"},
    {"LineWithoutEqualsSkipped", "[a]\nkey\nkey=v\n", Form::String, "a", "key", "'v'"},
    {"EmptyKeyPartSkipped", "[a]\n=key\nkey=v\n", Form::String, "a", "key", "'v'"},
    {"ValueKeepsFurtherEquals", "[a]\nkey= x=y \n", Form::String, "a", "key", "'x=y'"},
    {"TextTrimsSpacesNotTabs", "[a]\ntitle=  a b\t \n", Form::String, "a", "title", "'a b\t'"},
    {"FirstMatchBelowSectionWins", "[a]\nkey=1\nkey=2\n", Form::Int, "a", "key", "1"},
    {"EntryAboveSectionIgnored", "key=1\n[a]\nkey=2\n", Form::Int, "a", "key", "2"},
    {"SectionNameAnywhereInLine", "; about chessgame\nsound=1\n", Form::Bool, "chessgame", "sound",
     "true"},
    {"ScanRunsPastNextSection", "[gogame]\n[chessgame]\ntableback=3\n", Form::Int, "gogame",
     "tableback", "3"},
    {"NoSectionLineNothingFound", "[chessgame]\ntableback=3\n", Form::Int, "gogame", "tableback",
     "-"},
    {"NoEntryBelowSection", "sound=1\n[chessgame]\n", Form::Bool, "chessgame", "sound", "-"},
    {"LastLineWithoutLineEnd", "[a]\r\nkey=end", Form::String, "a", "key", "'end'"},
    {"LoneCarriageReturnStaysInLine", "[a]\nkey=v\rw\n", Form::String, "a", "key", "'v\rw'"},
    {"Colour", "[a]\nc=255, 128 ,1\n", Form::Color, "a", "c", "0180ff"},
    {"ColourModulo256", "[a]\nc=256,257,-1\n", Form::Color, "a", "c", "ff0100"},
    {"RectFull", "[a]\nr=-1,2,300,400\n", Form::Rect, "a", "r", "-1,2,300,400"},
    {"RectOfTwoNumbers", "[a]\nr=1,2\n", Form::Rect, "a", "r", "1,0,0,2"},
    {"RectOfOneNumber", "[a]\nr=5\n", Form::Rect, "a", "r", "0,0,0,5"},
    {"RectEmpty", "[a]\nr=\n", Form::Rect, "a", "r", "0,0,0,0"},
    {"RectExtraNumbersIgnoredAfterLast", "[a]\nr=1,2,3,4,5\n", Form::Rect, "a", "r", "1,2,3,4"},
    {"PointOfOneNumber", "[a]\np=7\n", Form::Point, "a", "p", "0,7"},
    {"Point", "[a]\np=7,8\n", Form::Point, "a", "p", "7,8"},
};

class CIniFileReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(CIniFileReadTest, ReadsAsTheFormatSays) {
    const ReadCase& c = GetParam();
    CIniFile ini;
    ASSERT_TRUE(ini.OpenText(c.file));
    EXPECT_EQ(Show(ini, c), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CIniFileReadTest, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CIniFileTest, NothingHappensOnAFileThatIsNotOpen) {
    CIniFile ini;
    std::string text = "kept";
    EXPECT_FALSE(ini.ReadString("a", "b", text));
    EXPECT_EQ(text, "kept");
    EXPECT_FALSE(ini.FindSection("a"));
    EXPECT_FALSE(ini.WriteSection("a"));
    EXPECT_FALSE(ini.WriteInt("a", 1));

    ScratchFolder scratch;
    ini.SetPath(scratch.Folder());
    ini.SetFileName("missing");
    EXPECT_FALSE(ini.OpenForRead());
    // A file open for reading takes no writes.
    ASSERT_TRUE(ini.OpenText("[a]\n"));
    EXPECT_FALSE(ini.WriteBool("b", true));
}

TEST(CIniFileTest, WritesCrLfLinesThatReadBack) {
    ScratchFolder scratch;
    CIniFile ini;
    ini.SetPath(scratch.Folder());
    ini.SetFileName("Test");
    ASSERT_TRUE(ini.OpenForWrite());
    EXPECT_TRUE(ini.WriteSection("s"));
    EXPECT_TRUE(ini.WriteBool("flag", true));
    EXPECT_TRUE(ini.WriteInt("n", -5));
    EXPECT_TRUE(ini.WriteString("text", " 棋 "));
    EXPECT_FALSE(ini.WriteString("bad", "two\nlines"));
    EXPECT_TRUE(ini.Close());
    EXPECT_EQ(ReadFile(scratch.Folder() + "Test.ini"), "[s]\r\nflag=1\r\nn=-5\r\ntext= 棋 \r\n");

    ASSERT_TRUE(ini.OpenForRead());
    bool flag = false;
    int32_t n = 0;
    std::string text;
    EXPECT_TRUE(ini.ReadBool("s", "flag", flag));
    EXPECT_TRUE(ini.ReadInt("s", "n", n));
    EXPECT_TRUE(ini.ReadString("s", "text", text));
    EXPECT_TRUE(flag);
    EXPECT_EQ(n, -5);
    EXPECT_EQ(text, "棋");
}

TEST(CIniFileTest, AbandonedWriteKeepsTheOldFile) {
    ScratchFolder scratch;
    WriteFile(scratch.Folder() + "Test.ini", "[old]\r\n");
    CIniFile ini;
    ini.SetPath(scratch.Folder());
    ini.SetFileName("Test");
    ASSERT_TRUE(ini.OpenForWrite());
    ini.WriteSection("new");
    // Until Close the old file is untouched.
    EXPECT_EQ(ReadFile(scratch.Folder() + "Test.ini"), "[old]\r\n");
    ini.Abandon();
    EXPECT_FALSE(ini.Close());
    EXPECT_EQ(ReadFile(scratch.Folder() + "Test.ini"), "[old]\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.Folder()), {}), 1);
}

TEST(CIniFileTest, RefusesOversizedAndUnreadableFiles) {
    ScratchFolder scratch;
    WriteFile(scratch.Folder() + "Big.ini", std::string(CIniFile::MAX_FILE_SIZE + 1, 'x'));
    CIniFile ini;
    ini.SetPath(scratch.Folder());
    ini.SetFileName("Big");
    EXPECT_FALSE(ini.OpenForRead());
    fs::create_directory(scratch.Folder() + "Dir.ini");
    ini.SetFileName("Dir");
    EXPECT_FALSE(ini.OpenForRead());
}

// Settings.

SettingsFolders FoldersIn(const ScratchFolder& scratch) {
    SettingsFolders folders;
    folders.m_strConfigFolder = scratch.Folder() + "config/kelo-chess/";
    folders.m_strRecordFolder = scratch.Folder() + "Documents/kelo-chess/";
    folders.m_strDataFolder = scratch.Folder() + "share/kelo-chess/";
    return folders;
}

// Only regular files are read: a FIFO, a device or a folder in the settings file's place is
// skipped as a missing file at once, without blocking on the FIFO.
TEST(GameSettingsTest, AFileThatIsNotRegularIsSkippedWithoutBlocking) {
    ScratchFolder scratch;
    const std::string folder = scratch.Folder() + "config/kelo-chess/";
    const std::string path = folder + "ChessGame.ini";
    const struct {
        const char* name;
        void (*make)(const std::string& path);
    } cases[] = {
        {"fifo", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
        {"device", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }},
        {"folder", [](const std::string& p) { fs::create_directory(p); }},
    };
    for (const auto& c : cases) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        c.make(path);
        SettingsFolders folders;
        folders.m_strConfigFolder = folder;
        GameSettings settings;
        settings.m_nSaveType = 2;
        auto load = std::async(std::launch::async, [&] {
            LoadGameSettings(settings, folders);
            CIniFile ini;
            ini.SetPath(folder);
            ini.SetFileName("ChessGame");
            return ini.OpenForRead() ? -1 : settings.m_nSaveType;
        });
        if (!test::FinishesWithoutBlocking(load, path, std::chrono::seconds(1)))
            ADD_FAILURE() << c.name << ": the settings reading blocked";
        EXPECT_EQ(load.get(), 2) << c.name << " (-1: opened)";
    }
}

// Numbers outside their field's range are clamped to it, never wrapped.
TEST(GameSettingsTest, NumbersAreClampedToTheirFieldsRange) {
    ScratchFolder scratch;
    const SettingsFolders folders = FoldersIn(scratch);
    fs::create_directories(folders.m_strConfigFolder);
    const struct {
        const char* text;
        int16_t expected;
    } cases[] = {
        {"99999999999999999999999", 32767},
        {"2147483647", 32767},
        {"32768", 32767},
        {"-2147483648", -32768},
        {"-40000", -32768},
        {"3", 3},
    };
    for (const auto& c : cases) {
        WriteFile(folders.m_strConfigFolder + "ChessGame.ini",
                  std::string("[chessgame]\nsavetype=") + c.text +
                      "\n[gogame]\ntableback=" + c.text + "\n");
        GameSettings settings;
        LoadGameSettings(settings, folders);
        EXPECT_EQ(settings.m_nSaveType, c.expected) << c.text;
        EXPECT_EQ(settings.m_nTableBack, c.expected) << c.text;
    }
}

TEST(GameSettingsTest, WithoutAFileDefaultsAndDefaultFolders) {
    ScratchFolder scratch;
    const SettingsFolders folders = FoldersIn(scratch);
    GameSettings settings;
    LoadGameSettings(settings, folders);
    EXPECT_TRUE(settings.m_bSound);
    EXPECT_FALSE(settings.m_bShowOnTop);
    EXPECT_EQ(settings.m_nSaveType, 1);
    EXPECT_EQ(settings.m_nTableBack, 1);
    EXPECT_EQ(settings.m_strManualPath, folders.m_strRecordFolder);
    EXPECT_EQ(settings.m_strDllFileName, scratch.Folder() + "share/style/picture1.dll");
}

TEST(GameSettingsTest, SaveWritesTheWholeFileAndLoadReadsItBack) {
    ScratchFolder scratch;
    const SettingsFolders folders = FoldersIn(scratch);
    GameSettings saved;
    saved.m_bSound = false;
    saved.m_bShowOnTop = true;
    saved.m_nSaveType = 3;
    saved.m_strManualPath = "/games/";
    saved.m_strDllFileName = "/lib/p.dll";
    saved.m_nTableBack = 2;
    test::ScriptedPrompts prompts;
    // The config folder does not exist yet: saving makes it.
    ASSERT_TRUE(SaveGameSettings(saved, folders, prompts));
    EXPECT_TRUE(prompts.notices.empty());
    EXPECT_EQ(ReadFile(folders.m_strConfigFolder + "ChessGame.ini"),
              "[chessgame]\r\nsound=0\r\nshowontop=1\r\nsavetype=3\r\nmanualpath=/games/\r\n"
              "dllfilename=/lib/p.dll\r\n[gogame]\r\ntableback=2\r\n");

    GameSettings loaded;
    LoadGameSettings(loaded, folders);
    EXPECT_FALSE(loaded.m_bSound);
    EXPECT_TRUE(loaded.m_bShowOnTop);
    EXPECT_EQ(loaded.m_nSaveType, 3);
    EXPECT_EQ(loaded.m_strManualPath, "/games/");
    EXPECT_EQ(loaded.m_strDllFileName, "/lib/p.dll");
    EXPECT_EQ(loaded.m_nTableBack, 2);
}

// The engine of a game against the computer: read from its own key, which holds none of the
// others (keys are found as parts of a line's key), and written only when set, so the file of
// someone who never set it stays as it was.
TEST(GameSettingsTest, TheEngineCommandHasAKeyOfItsOwn) {
    ScratchFolder scratch;
    const SettingsFolders folders = FoldersIn(scratch);
    fs::create_directories(folders.m_strConfigFolder);
    const std::string file = folders.m_strConfigFolder + "ChessGame.ini";
    WriteFile(file, "[chessgame]\r\nsound=0\r\nenginecommand=/opt/sf/stockfish -q\r\n"
                    "savetype=3\r\n");
    GameSettings settings;
    LoadGameSettings(settings, folders);
    EXPECT_EQ(settings.m_strEngineCommand, "/opt/sf/stockfish -q");
    EXPECT_FALSE(settings.m_bSound);
    EXPECT_EQ(settings.m_nSaveType, 3);

    test::ScriptedPrompts prompts;
    settings.m_strManualPath = "/games/";
    settings.m_strDllFileName = "/lib/p.dll";
    ASSERT_TRUE(SaveGameSettings(settings, folders, prompts));
    EXPECT_EQ(ReadFile(file), "[chessgame]\r\nsound=0\r\nshowontop=0\r\nsavetype=3\r\n"
                              "manualpath=/games/\r\ndllfilename=/lib/p.dll\r\n"
                              "enginecommand=/opt/sf/stockfish -q\r\n[gogame]\r\ntableback=1\r\n");
}

TEST(GameSettingsTest, FileValuesUsedUnchangedAndMissingOnesKept) {
    ScratchFolder scratch;
    const SettingsFolders folders = FoldersIn(scratch);
    fs::create_directories(folders.m_strConfigFolder);
    // A record folder without a trailing slash is kept as it is; "tableback" outside any
    // "gogame" section is not found, and an unset style library gets its default.
    WriteFile(folders.m_strConfigFolder + "ChessGame.ini",
              "[chessgame]\nsavetype=2\nmanualpath=/rec\ntableback=3\n");
    GameSettings settings;
    settings.m_bSound = false;
    LoadGameSettings(settings, folders);
    EXPECT_FALSE(settings.m_bSound);
    EXPECT_EQ(settings.m_nSaveType, 2);
    EXPECT_EQ(settings.m_strManualPath, "/rec");
    EXPECT_EQ(settings.m_strDllFileName, scratch.Folder() + "share/style/picture1.dll");
    EXPECT_EQ(settings.m_nTableBack, 1);
}

TEST(GameSettingsTest, FailedSaveTellsTheUserAndKeepsTheOldFile) {
    ScratchFolder scratch;
    const SettingsFolders folders = FoldersIn(scratch);
    fs::create_directories(folders.m_strConfigFolder);
    const std::string file = folders.m_strConfigFolder + "ChessGame.ini";
    WriteFile(file, "[chessgame]\r\nsavetype=2\r\n");

    GameSettings settings;
    settings.m_strManualPath = "/a\nb/";
    test::ScriptedPrompts prompts;
    EXPECT_FALSE(SaveGameSettings(settings, folders, prompts));
    ASSERT_EQ(prompts.notices.size(), 1u);
    EXPECT_EQ(prompts.notices[0], " 文件(" + folders.m_strConfigFolder + ")无法保存 ！");
    EXPECT_EQ(ReadFile(file), "[chessgame]\r\nsavetype=2\r\n");

    // A config folder that cannot be made.
    SettingsFolders blocked = folders;
    WriteFile(scratch.Folder() + "plain", "");
    blocked.m_strConfigFolder = scratch.Folder() + "plain/kelo-chess/";
    EXPECT_FALSE(SaveGameSettings(GameSettings(), blocked, prompts));
    EXPECT_EQ(prompts.notices.size(), 2u);
}

TEST(SettingsFoldersTest, FollowsTheXdgVariables) {
    auto env = [](std::map<std::string, std::string> values) {
        return [values](const char* name) -> const char* {
            auto it = values.find(name);
            return it == values.end() ? nullptr : it->second.c_str();
        };
    };
    SettingsFolders f =
        SettingsFolders::DefaultFolders("/usr/share/kelo-chess", env({{"HOME", "/home/u"}}));
    EXPECT_EQ(f.m_strConfigFolder, "/home/u/.config/kelo-chess/");
    EXPECT_EQ(f.m_strRecordFolder, "/home/u/Documents/kelo-chess/");
    EXPECT_EQ(f.m_strDataFolder, "/usr/share/kelo-chess/");

    f = SettingsFolders::DefaultFolders(
        "d/",
        env({{"HOME", "/home/u/"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_DOCUMENTS_DIR", "/doc/"}}));
    EXPECT_EQ(f.m_strConfigFolder, "/cfg/kelo-chess/");
    EXPECT_EQ(f.m_strRecordFolder, "/doc/kelo-chess/");

    // Relative XDG values do not count.
    f = SettingsFolders::DefaultFolders("d/", env({{"HOME", "/h"}, {"XDG_CONFIG_HOME", "cfg"}}));
    EXPECT_EQ(f.m_strConfigFolder, "/h/.config/kelo-chess/");
}

TEST(SettingsFoldersTest, StyleLibraryBesideTheDataFolder) {
    EXPECT_EQ(DefaultStyleLibraryPath("/usr/share/kelo-chess/"), "/usr/share/style/picture1.dll");
    EXPECT_EQ(DefaultStyleLibraryPath("/usr/share/kelo-chess"), "/usr/share/style/picture1.dll");
    EXPECT_EQ(DefaultStyleLibraryPath("/data/"), "/style/picture1.dll");
}

} // namespace
} // namespace kelo
