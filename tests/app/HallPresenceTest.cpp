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

} // namespace
} // namespace kelo
