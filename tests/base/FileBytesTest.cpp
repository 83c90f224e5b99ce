// SPDX-License-Identifier: GPL-3.0-or-later
// Files replaced whole: what a killed writer leaves behind, and two writers of one file.
#include "base/FileBytes.h"
#include "base/CIniFile.h"

#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace kelo {
namespace {

namespace fs = std::filesystem;

using test::ReadFile;
using test::ScratchFolder;
using test::WriteFile;

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

// A writer killed while it wrote leaves its temporary file; the next write into the folder
// removes it. The temporary file of a writer still at work (it holds its lock) stays, and so
// do the user's own files, also those that look a little like one.
TEST(FileBytesTest, AWriteRemovesWhatKilledWritersLeftAndNothingElse) {
    ScratchFolder scratch;
    const std::string folder = scratch.Folder();
    WriteFile(folder + ".甲_乙_081208_2105.che.kelo-Ab12Cd", "half a record");
    WriteFile(folder + ".resumesChnManager.dat.kelo-x9Y8z7", "");
    const std::string live = folder + ".ChessGame.ini.kelo-LiVe00";
    WriteFile(live, "being written");
    const int liveFd = ::open(live.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(liveFd, 0);
    ASSERT_EQ(::flock(liveFd, LOCK_EX | LOCK_NB), 0);
    for (const char* own : {"notes.kelo-Ab12Cd", ".hidden", ".kelo-Ab12Cd", ".a.kelo-toolong7"})
        WriteFile(folder + own, "mine");

    ASSERT_TRUE(ReplaceFileBytes(folder + "甲_乙_.che", Bytes("record")));
    EXPECT_EQ(Names(folder),
              (std::vector<std::string>{".ChessGame.ini.kelo-LiVe00", ".a.kelo-toolong7", ".hidden",
                                        ".kelo-Ab12Cd", "notes.kelo-Ab12Cd", "甲_乙_.che"}));
    EXPECT_EQ(ReadFile(folder + "甲_乙_.che"), "record");

    // Once its writer is gone, the next write clears it too.
    ::close(liveFd);
    ASSERT_TRUE(ReplaceFileBytes(folder + "甲_乙_.che", Bytes("record again")));
    const std::vector<std::string> after = Names(folder);
    EXPECT_EQ(std::count(after.begin(), after.end(), ".ChessGame.ini.kelo-LiVe00"), 0);
}

// Two clients save the settings at the same moment: the file is one of the two, whole, and
// neither save is lost to the other's temporary file.
TEST(FileBytesTest, TwoWritersOfOneSettingsFileEachWriteItWhole) {
    ScratchFolder scratch;
    CIniFile first, second;
    for (CIniFile* ini : {&first, &second}) {
        ini->SetPath(scratch.Folder());
        ini->SetFileName("ChessGame");
        ASSERT_TRUE(ini->OpenForWrite());
    }
    first.WriteSection("chessgame");
    first.WriteString("manualpath", "/home/甲/a/long/folder/of/records/");
    second.WriteSection("chessgame");
    second.WriteInt("savetype", 2);
    EXPECT_TRUE(first.Close());
    EXPECT_EQ(ReadFile(scratch.Folder() + "ChessGame.ini"),
              "[chessgame]\r\nmanualpath=/home/甲/a/long/folder/of/records/\r\n");
    EXPECT_TRUE(second.Close());
    EXPECT_EQ(ReadFile(scratch.Folder() + "ChessGame.ini"), "[chessgame]\r\nsavetype=2\r\n");
    EXPECT_EQ(Names(scratch.Folder()), std::vector<std::string>{"ChessGame.ini"});
}

// A folder that cannot take the file is refused when the write starts, and the old file stays.
TEST(FileBytesTest, AFolderThatCannotTakeTheFileRefusesTheWrite) {
    ScratchFolder scratch;
    CIniFile ini;
    ini.SetPath(scratch.Folder() + "missing/");
    ini.SetFileName("ChessGame");
    EXPECT_FALSE(ini.OpenForWrite());
    EXPECT_FALSE(ini.WriteSection("chessgame"));
    EXPECT_TRUE(ini.Close());
    EXPECT_FALSE(ReplaceFileBytes(scratch.Folder() + "missing/x.che", Bytes("x")));
    EXPECT_FALSE(fs::exists(scratch.Folder() + "missing"));
}

} // namespace
} // namespace kelo
