// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CHallPresence.h"
#include "base/ScratchFolder.h"

#include <gtest/gtest.h>

namespace kelo {
namespace {

TEST(HallPresence, TheRecordNamesTheHallAndItsHeadPicturesCountFromZero) {
    test::ScratchFolder scratch;
    const std::string config = scratch.Folder() + "config/";
    EXPECT_EQ(CHallPresence::HallFolder(config), "") << "no record: no hall";

    const std::string hall = scratch.Folder() + "hall";
    test::WriteFile(CHallPresence::RecordPath(config), "[Zandor]\r\nAppPath=" + hall + "\r\n");
    EXPECT_EQ(CHallPresence::HallFolder(config), "") << "a record of a folder that is gone";

    for (const char* name : {"IDI_0.png", "IDI_1.png", "IDI_3.png"})
        test::WriteFile(hall + "/room/headpica/" + name, "png");
    ASSERT_EQ(CHallPresence::HallFolder(config), hall + "/");
    // Up to the first one missing: IDI_3 after a gap is not the third picture.
    EXPECT_EQ(CHallPresence::HeadPictures(hall + "/"),
              (std::vector<std::string>{hall + "/room/headpica/IDI_0.png",
                                        hall + "/room/headpica/IDI_1.png"}));
    EXPECT_TRUE(CHallPresence::HeadPictures("").empty());
}

// The hall's driver installs its own folder as the hall's, but never over a hall that is there.
TEST(HallPresence, InstallWritesTheRecordUnlessAHallIsThere) {
    test::ScratchFolder scratch;
    const std::string config = scratch.Folder() + "config/";
    const std::string ours = scratch.Folder() + "ours/", theirs = scratch.Folder() + "theirs/";
    test::WriteFile(ours + "room/headpica/IDI_0.png", "png");
    test::WriteFile(theirs + "room/headpica/IDI_0.png", "png");
    EXPECT_FALSE(CHallPresence::Install(config, scratch.Folder() + "gone/")) << "no such folder";
    ASSERT_TRUE(CHallPresence::Install(config, ours));
    EXPECT_EQ(CHallPresence::HallFolder(config), ours);
    test::WriteFile(CHallPresence::RecordPath(config), "[Zandor]\r\nAppPath=" + theirs + "\r\n");
    ASSERT_TRUE(CHallPresence::Install(config, ours));
    EXPECT_EQ(CHallPresence::HallFolder(config), theirs) << "a real hall's record is kept";
}

} // namespace
} // namespace kelo
