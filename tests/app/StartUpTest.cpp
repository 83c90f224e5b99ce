// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: what the command line asks for, the files that register the program, and the
// local table of a direct start.
#include "app/CCommandLine.h"
#include "app/CGameContext.h"
#include "app/CLocalTable.h"
#include "app/CServerRegistration.h"
#include "base/CGbkConverter.h"
#include "base/CIniFile.h"
#include "base/GameSettings.h"

#include "base/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kelo {
namespace {

using Action = CCommandLine::Action;
using test::ReadFile;
using test::ScratchFolder;

TEST(CommandLineTest, OptionsAfterDashOrSlashInAnyCase) {
    const struct {
        std::vector<std::string> args;
        Action action;
        std::string record;
    } cases[] = {
        {{"-RegServer"}, Action::Register, ""},
        {{"/regserver"}, Action::Register, ""},
        {{"-UNREGSERVER"}, Action::Unregister, ""},
        {{"/UnRegServer"}, Action::Unregister, ""},
        // Registering ends the start even when the hall's switch comes first.
        {{"-Embedding", "/RegServer"}, Action::Register, ""},
        {{"-UnregServer", "-RegServer"}, Action::Unregister, ""},
        {{"-Embedding"}, Action::Embedding, ""},
        {{"/automation"}, Action::Embedding, ""},
        {{}, Action::Direct, ""},
        // Without the dash or slash a word is a record's name.
        {{"RegServer"}, Action::Direct, "RegServer"},
        {{"--RegServer"}, Action::Direct, "--RegServer"},
        {{"/home/me/games/a.che"}, Action::Direct, "/home/me/games/a.che"},
        {{"\"/home/me/games/a.che\""}, Action::Direct, "/home/me/games/a.che"},
        {{"'game 2.che'"}, Action::Direct, "game 2.che"},
        {{"/tmp/my", "game.che"}, Action::Direct, "/tmp/my game.che"},
        {{"./round1"}, Action::Direct, "./round1"},
    };
    for (const auto& c : cases) {
        std::string shown;
        for (const auto& a : c.args)
            shown += "[" + a + "]";
        const CCommandLine line = CCommandLine::Parse(c.args);
        EXPECT_EQ(line.m_action, c.action) << shown;
        EXPECT_EQ(line.m_strRecordPath, c.record) << shown;
    }
}

class ServerRegistrationTest : public ::testing::Test {
protected:
    ScratchFolder m_scratch;
    CServerRegistration::Paths Paths(const std::string& program) const {
        return {m_scratch.Folder() + "data/", m_scratch.Folder() + "config/kelo-chess/", program};
    }
};

TEST_F(ServerRegistrationTest, RegisterWritesTheThreeFilesAndUnregisterRemovesThem) {
    CServerRegistration reg(Paths("/opt/kelo chess/bin/kelo-chess"));
    ASSERT_TRUE(reg.Register());

    EXPECT_EQ(reg.ServiceFile(),
              m_scratch.Folder() + "data/dbus-1/services/com.zandor.KeloChessGame.service");
    EXPECT_EQ(ReadFile(reg.ServiceFile()), "[D-BUS Service]\nName=com.zandor.KeloChessGame\n"
                                           "Exec=\"/opt/kelo chess/bin/kelo-chess\" -Embedding\n");
    const std::string entry = ReadFile(reg.DesktopFile());
    EXPECT_NE(entry.find("Exec=\"/opt/kelo chess/bin/kelo-chess\" %f\n"), std::string::npos);
    EXPECT_NE(entry.find("MimeType=application/x-kelo-chess-record;\n"), std::string::npos);
    EXPECT_NE(entry.find("Icon=kelo-chess\n"), std::string::npos);
    // Beside opening a record: a game against the computer and the local table for two.
    EXPECT_NE(entry.find("Actions=practice;local;\n\n[Desktop Action practice]\n"),
              std::string::npos);
    EXPECT_NE(entry.find("Name[zh_CN]=与电脑对弈\nExec=\"/opt/kelo chess/bin/kelo-chess\" "
                         "--practice\n"),
              std::string::npos);
    EXPECT_NE(entry.find("Name[zh_CN]=双人对弈（本机）\nExec=\"/opt/kelo chess/bin/kelo-chess\" "
                         "--local\n"),
              std::string::npos);
    const std::string mime = ReadFile(reg.MimeFile());
    EXPECT_NE(mime.find("<mime-type type=\"application/x-kelo-chess-record\">"), std::string::npos);
    EXPECT_NE(mime.find("<glob pattern=\"*.che\"/>"), std::string::npos);
    EXPECT_NE(mime.find("<icon name=\"application-x-kelo-chess-record\"/>"), std::string::npos);

    // A program that is not installed names its icon by its path; a path that would break the
    // line falls back to the theme's name.
    CServerRegistration::Paths built = Paths("/src/build/kelo-chess");
    built.m_strIcon = "/src/build/icons/kelo-chess.svg";
    ASSERT_TRUE(CServerRegistration(built).Register());
    EXPECT_NE(ReadFile(reg.DesktopFile()).find("Icon=/src/build/icons/kelo-chess.svg\n"),
              std::string::npos);
    built.m_strIcon = "/x\nExec=/bin/sh";
    ASSERT_TRUE(CServerRegistration(built).Register());
    EXPECT_NE(ReadFile(reg.DesktopFile()).find("Icon=kelo-chess\n"), std::string::npos);

    // Every start writes them again over what is there.
    ASSERT_TRUE(reg.Register());
    ASSERT_TRUE(reg.Unregister());
    for (const std::string& file : {reg.ServiceFile(), reg.DesktopFile(), reg.MimeFile()})
        EXPECT_FALSE(std::filesystem::exists(file)) << file;
    // Nothing left to remove is no failure.
    EXPECT_TRUE(reg.Unregister());
}

TEST_F(ServerRegistrationTest, ExecLinesQuoteWhatTheirReadersWouldTakeApart) {
    CServerRegistration reg(Paths("/a/$HOME \"x\"\\b 100%/kelo-chess"));
    ASSERT_TRUE(reg.Register());
    EXPECT_NE(ReadFile(reg.ServiceFile())
                  .find("Exec=\"/a/\\$HOME \\\"x\\\"\\\\b 100%/kelo-chess\" -Embedding\n"),
              std::string::npos);
    // The desktop entry unescapes backslashes once more and takes "%" for a field code.
    EXPECT_NE(ReadFile(reg.DesktopFile())
                  .find("Exec=\"/a/\\\\$HOME \\\\\"x\\\\\"\\\\\\\\b 100%%/kelo-chess\" %f\n"),
              std::string::npos);

    // A path with a line break would make lines of its own: nothing is written.
    CServerRegistration broken(Paths("/a/b\nExec=/bin/sh"));
    EXPECT_FALSE(broken.Register());
}

TEST_F(ServerRegistrationTest, AFileThatCannotBeWrittenIsSkippedAndTheOthersAreWritten) {
    CServerRegistration reg(Paths("/usr/bin/kelo-chess"));
    // A folder where the activation file's folder should be.
    test::WriteFile(m_scratch.Folder() + "data/dbus-1/services", "not a folder");
    EXPECT_FALSE(reg.Register());
    EXPECT_TRUE(std::filesystem::exists(reg.DesktopFile()));
    EXPECT_TRUE(std::filesystem::exists(reg.MimeFile()));
}

TEST_F(ServerRegistrationTest, InstallRecordTellsVersionAndPath) {
    CServerRegistration reg(Paths("/usr/bin/kelo-chess"));
    ASSERT_TRUE(reg.WriteInstallRecord());
    EXPECT_EQ(reg.InstallRecordFile(),
              m_scratch.Folder() + "config/kelo-chess/KeloChessGame.StartGame.ini");

    CIniFile ini;
    ini.SetPath(m_scratch.Folder() + "config/kelo-chess/");
    ini.SetFileName("KeloChessGame.StartGame");
    ASSERT_TRUE(ini.OpenForRead());
    int32_t major = -1, minor = -1;
    std::string path;
    EXPECT_TRUE(ini.ReadInt("KeloChessGame.StartGame", "MajorVersion", major));
    EXPECT_TRUE(ini.ReadInt("KeloChessGame.StartGame", "MinorVersion", minor));
    EXPECT_TRUE(ini.ReadString("KeloChessGame.StartGame", "GamePath", path));
    EXPECT_EQ(major, 1);
    EXPECT_EQ(minor, 0);
    EXPECT_EQ(path, "/usr/bin/kelo-chess");
}

TEST(ServerRegistrationPathsTest, XdgFoldersOrTheirDefaults) {
    std::map<std::string, std::string> env = {{"HOME", "/home/u"}};
    auto getEnv = [&env](const char* name) -> const char* {
        auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    };
    auto paths = CServerRegistration::DefaultPaths("/usr/bin/kelo-chess", getEnv);
    EXPECT_EQ(paths.m_strDataHome, "/home/u/.local/share/");
    EXPECT_EQ(paths.m_strConfigFolder, "/home/u/.config/kelo-chess/");

    env["XDG_DATA_HOME"] = "/x/data";
    env["XDG_CONFIG_HOME"] = "/x/config/";
    paths = CServerRegistration::DefaultPaths("/usr/bin/kelo-chess", getEnv);
    EXPECT_EQ(paths.m_strDataHome, "/x/data/");
    EXPECT_EQ(paths.m_strConfigFolder, "/x/config/kelo-chess/");

    // A relative XDG folder is ignored.
    env["XDG_DATA_HOME"] = "data";
    EXPECT_EQ(CServerRegistration::DefaultPaths("k", getEnv).m_strDataHome,
              "/home/u/.local/share/");
}

TEST(LocalTableTest, TwoFixedPlayersTheUserFirstOnALocalTable) {
    CGameContext context;
    CLocalTable::Prepare(context);

    EXPECT_TRUE(context.Mode().LocalMode());
    EXPECT_EQ(context.Hall().gameType, 107);
    CPlayerManager& people = context.PlayerManager();
    EXPECT_EQ(people.OwnId(), 50001336u);
    EXPECT_EQ(people.GetOwnSeat(), 0);
    EXPECT_EQ(people.SeatCount(), 2);
    const CPlayerRecord* white = people.GetPersonBySeat(0);
    const CPlayerRecord* black = people.GetPersonBySeat(1);
    ASSERT_NE(white, nullptr);
    ASSERT_NE(black, nullptr);
    EXPECT_EQ(CGbkConverter::FromField(white->person.username), "matchuser001");
    EXPECT_EQ(CGbkConverter::ToUtf8(CGbkConverter::FromField(white->person.nickname)), "白方");
    EXPECT_EQ(white->person.headpicid, 11);
    EXPECT_EQ(white->person.sex, 1);
    EXPECT_EQ(black->person.id, 1001u);
    EXPECT_EQ(CGbkConverter::ToUtf8(CGbkConverter::FromField(black->person.nickname)), "黑方");
    EXPECT_EQ(black->person.forbidtype, 1);
    EXPECT_EQ(context.TimeControl().m_nTotalTime, 1200);
    EXPECT_EQ(context.TimeControl().m_nPaceTime, 60);
    EXPECT_EQ(context.TimeControl().m_nPaceAddedTime, 10);
    EXPECT_EQ(CGbkConverter::ToUtf8(CGbkConverter::FromField(context.Hall().listHead.data() +
                                                                 CHallSettings::LIST_HEAD_SLOT,
                                                             CHallSettings::LIST_HEAD_SLOT)),
              "执子色");
    EXPECT_EQ(context.Hall().AdvertisementAddress(),
              std::string(CLocalTable::ADV_PAGE) + "?type=107&subtype=0&roomid=0");

    // The style library of the settings, unless the hall named one.
    context.Settings().m_strDllFileName = "/opt/kelo/style.so";
    CLocalTable::TakeStyleLibrary(context);
    EXPECT_EQ(context.Hall().dllFileName, "/opt/kelo/style.so");
    context.Hall().dllFileName = "hall.so";
    CLocalTable::TakeStyleLibrary(context);
    EXPECT_EQ(context.Hall().dllFileName, "hall.so");
}

} // namespace
} // namespace kelo
