// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/CPersonRecord.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kelo {
namespace {

// A record as a server sends it, written out byte by byte.
std::array<uint8_t, CPersonRecord::SIZE> AliceOnTheWire() {
    std::array<uint8_t, CPersonRecord::SIZE> wire{};
    const uint8_t id[] = {0x01, 0x02, 0x03, 0x04};
    std::memcpy(&wire[0], id, 4);
    std::memcpy(&wire[4], "alice", 5);
    std::memcpy(&wire[38], "Alice", 5);
    wire[73] = 1;                                     // sex
    wire[79] = 11;                                    // headpicid
    const uint8_t score[] = {0xFF, 0xFF, 0xFF, 0xFB}; // gamescore -5
    std::memcpy(&wire[128], score, 4);
    wire[153] = 4;                                  // status
    wire[157] = 1;                                  // seatno
    wire[158] = wire[159] = 0xFF;                   // watchno -1
    std::memcpy(&wire[240], "a school name t", 15); // 16 bytes travel, the last ends it
    return wire;
}

TEST(PersonRecord, ReadsAndWritesTheFieldsAtTheirOffsetsInNetworkOrder) {
    const auto wire = AliceOnTheWire();
    PERSON person;
    ASSERT_TRUE(CPersonRecord::FromWire(wire.data(), wire.size(), person));
    EXPECT_EQ(person.id, 0x01020304u);
    EXPECT_STREQ(person.username, "alice");
    EXPECT_STREQ(person.nickname, "Alice");
    EXPECT_EQ(person.sex, 1);
    EXPECT_EQ(person.headpicid, 11);
    EXPECT_EQ(person.gamescore, -5);
    EXPECT_EQ(person.status, 4);
    EXPECT_EQ(person.seatno, 1);
    EXPECT_EQ(person.watchno, -1);
    EXPECT_STREQ(person.school_name, "a school name t");
    EXPECT_STREQ(person.level_name, "");
    EXPECT_EQ(person.ismyfriend, 0);

    // What does not travel stays home: the rest of the school name, the level name, the flags.
    std::strcpy(person.school_name, "a school name that is long");
    std::strcpy(person.level_name, "stays home");
    person.ismyfriend = 1;
    EXPECT_EQ(CPersonRecord::ToWire(person), wire);
}

TEST(PersonRecord, UnterminatedTextsAreCutInsideTheirFieldsAndShortRecordsRefused) {
    std::array<uint8_t, CPersonRecord::SIZE> wire;
    wire.fill('x');
    const PERSON person = CPersonRecord::FromWire(wire.data());
    EXPECT_EQ(std::strlen(person.username), sizeof(person.username) - 1);
    EXPECT_EQ(std::strlen(person.m_sCRemark), sizeof(person.m_sCRemark) - 1);
    EXPECT_EQ(std::strlen(person.school_name), 15u);

    PERSON kept{};
    kept.id = 7;
    EXPECT_FALSE(CPersonRecord::FromWire(wire.data(), wire.size() - 1, kept));
    EXPECT_FALSE(CPersonRecord::FromWire(nullptr, wire.size(), kept));
    EXPECT_EQ(kept.id, 7u);
}

} // namespace
} // namespace kelo
