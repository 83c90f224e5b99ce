// SPDX-License-Identifier: GPL-3.0-or-later
#include "CServerControl.h"

#include <gtest/gtest.h>

#include <string>

namespace kelo {
namespace {

using Kind = CServerControl::Command::Kind;

// The control lines as a program writes them, in pieces that do not follow the lines.
TEST(ServerControlTest, TakesWholeLinesAsTheyCome) {
    CServerControl control;
    const std::string input = "time 300,20,2\ntime 1200,60\r\n\nbogus\r\ntime 30,";
    for (char c : input)
        control.Feed(&c, 1);
    const auto commands = control.TakeCommands();
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0].kind, Kind::Time);
    EXPECT_EQ(commands[0].time.total, 300);
    EXPECT_EQ(commands[0].time.pace, 20);
    EXPECT_EQ(commands[0].time.added, 2);
    EXPECT_EQ(commands[1].kind, Kind::Bad);
    EXPECT_EQ(commands[1].line, "time 1200,60");
    EXPECT_EQ(commands[2].kind, Kind::Bad);
    EXPECT_EQ(commands[2].line, "bogus");
    EXPECT_TRUE(control.TakeCommands().empty()) << "the unfinished line waits";
    control.Feed("5,0\n", 4);
    const auto rest = control.TakeCommands();
    ASSERT_EQ(rest.size(), 1u);
    EXPECT_EQ(rest[0].kind, Kind::Time);
    EXPECT_EQ(rest[0].time.total, 30);
    EXPECT_EQ(rest[0].time.pace, 5);

    // A line without an end past the bound is one bad line, not memory.
    const std::string overlong(3 * CServerControl::MAX_LINE, 'x');
    control.Feed(overlong.data(), overlong.size());
    control.Feed("\ntime 40000,1,1\n", 16);
    const auto bad = control.TakeCommands();
    ASSERT_EQ(bad.size(), 2u);
    EXPECT_EQ(bad[0].kind, Kind::Bad);
    EXPECT_EQ(bad[0].line.size(), CServerControl::MAX_LINE + 3);
    EXPECT_EQ(bad[1].kind, Kind::Bad) << "beyond the clocks' fields";
}

} // namespace
} // namespace kelo
