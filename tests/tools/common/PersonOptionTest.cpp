// SPDX-License-Identifier: GPL-3.0-or-later
#include "PersonOption.h"

#include "base/CGbkConverter.h"

#include <gtest/gtest.h>

namespace kelo {
namespace {

using Role = PersonOption::Role;

struct Accepted {
    const char* name;
    const char* text;
    Role role;
    uint32_t id;
    int16_t status;
    int16_t seatno;
    int16_t watchno;
};

class PersonOptionAccepts : public testing::TestWithParam<Accepted> {};

TEST_P(PersonOptionAccepts, FillsTheRecord) {
    const Accepted& c = GetParam();
    std::string error;
    const auto person = PersonOption::Parse(c.text, c.role, 2, error);
    ASSERT_TRUE(person) << c.text << ": " << error;
    EXPECT_EQ(person->id, c.id);
    EXPECT_EQ(person->status, c.status);
    EXPECT_EQ(person->seatno, c.seatno);
    EXPECT_EQ(person->watchno, c.watchno);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PersonOptionAccepts,
    testing::Values(
        // A player has no watcher number.
        Accepted{"Player", "1:white:White:0", Role::Player, 1, 4, 0, -1},
        Accepted{"LargestId", "4294967295:black:Black:1", Role::Player, 4294967295u, 4, 1, -1},
        // A watcher follows seat 0 unless it names another seat.
        Accepted{"WatcherBehindSeat0", "3:watch:Watch:1", Role::Watcher, 3, 5, 0, 1},
        Accepted{"WatcherBehindSeat1", "3:watch:Watch:0:1", Role::Watcher, 3, 5, 1, 0},
        Accepted{"LargestWatchno", "3:watch:Watch:32767:0", Role::Watcher, 3, 5, 0, 32767},
        // The nickname may be empty.
        Accepted{"EmptyNickname", "7:nobody::1", Role::Player, 7, 4, 1, -1}),
    [](const auto& info) { return std::string(info.param.name); });

struct Refused {
    const char* name;
    const char* text;
    Role role;
    const char* named; // what the error line says
};

class PersonOptionRefuses : public testing::TestWithParam<Refused> {};

TEST_P(PersonOptionRefuses, WithOneLineNamingThePart) {
    const Refused& c = GetParam();
    std::string error;
    EXPECT_FALSE(PersonOption::Parse(c.text, c.role, 2, error)) << c.text;
    EXPECT_NE(error.find(c.named), std::string::npos) << c.text << ": " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PersonOptionRefuses,
    testing::Values(Refused{"TwoParts", "1:a", Role::Player, "needs ID:USERNAME:NICKNAME:SEAT"},
                    Refused{"Empty", "", Role::Player, "needs ID:USERNAME:NICKNAME:SEAT"},
                    // Only a watcher has a fifth part.
                    Refused{"PlayerWithFiveParts", "1:a:A:0:1", Role::Player,
                            "needs ID:USERNAME:NICKNAME:SEAT"},
                    Refused{"WatcherWithSixParts", "1:a:A:0:1:0", Role::Watcher,
                            "needs ID:USERNAME:NICKNAME:WATCHNO[:SEAT]"},
                    Refused{"IdZero", "0:a:A:0", Role::Player, "ID must"},
                    Refused{"IdAbove32Bits", "4294967296:a:A:0", Role::Player, "ID must"},
                    Refused{"IdNotANumber", "x:a:A:0", Role::Player, "ID must"},
                    Refused{"IdWithSign", "+1:a:A:0", Role::Player, "ID must"},
                    Refused{"EmptyUsername", "1::A:0", Role::Player, "USERNAME must"},
                    // Seats of a table of two.
                    Refused{"SeatPastTheTable", "1:a:A:2", Role::Player, "SEAT must"},
                    Refused{"SeatNegative", "1:a:A:-1", Role::Player, "SEAT must"},
                    Refused{"SeatWithBlank", "1:a:A: 1", Role::Player, "SEAT must"},
                    Refused{"SeatWithTrailer", "1:a:A:1x", Role::Player, "SEAT must"},
                    Refused{"WatchedSeatPastTheTable", "3:w:W:0:2", Role::Watcher, "SEAT must"},
                    Refused{"WatchedSeatEmpty", "3:w:W:0:", Role::Watcher, "SEAT must"},
                    Refused{"WatchnoNegative", "3:w:W:-1", Role::Watcher, "WATCHNO must"},
                    Refused{"WatchnoAbove16Bits", "3:w:W:32768", Role::Watcher, "WATCHNO must"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PersonOption, SeatsRunUpToTheSeatCount) {
    std::string error;
    EXPECT_TRUE(PersonOption::Parse("1:a:A:5", Role::Player, 6, error));
    EXPECT_FALSE(PersonOption::Parse("1:a:A:6", Role::Player, 6, error));
    EXPECT_NE(error.find("0 to 5"), std::string::npos) << error;
}

// The fields hold GBK: a name is measured after its conversion, and is stored converted.
TEST(PersonOption, NamesMustFitTheirFieldsInGbk) {
    std::string han12; // three bytes a character in UTF-8, two in GBK
    for (int i = 0; i < 12; ++i)
        han12 += "王";
    const std::string han17 = han12 + "王王王王王";
    const std::string long34(34, 'n');
    std::string error;

    const auto person = PersonOption::Parse("1:" + han12 + ":" + han12 + ":0", Role::Player, 2,
                                            error); // 36 bytes of UTF-8, 24 of GBK
    ASSERT_TRUE(person) << error;
    EXPECT_EQ(CGbkConverter::FromField(person->username), CGbkConverter::ToGbk(han12));
    EXPECT_EQ(CGbkConverter::FromField(person->nickname), CGbkConverter::ToGbk(han12));

    EXPECT_TRUE(PersonOption::Parse("1:" + long34.substr(1) + ":A:0", Role::Player, 2, error));
    EXPECT_FALSE(PersonOption::Parse("1:" + long34 + ":A:0", Role::Player, 2, error));
    EXPECT_NE(error.find("USERNAME"), std::string::npos) << error;
    EXPECT_FALSE(PersonOption::Parse("1:a:" + han17 + ":0", Role::Player, 2, error));
    EXPECT_NE(error.find("NICKNAME"), std::string::npos) << error;
}

} // namespace
} // namespace kelo
