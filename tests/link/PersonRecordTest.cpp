#include "link/CPersonRecord.h"
#include "link/WireOrder.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kelo {
namespace {

TEST(PersonRecord, TravelsInNetworkOrderAtThePersonOffsets) {
    PERSON person = test::MakePerson(0x01020304, "alice", 1);
    person.watchno = -1;
    person.gamescore = -5;
    std::strcpy(person.school_name, "a school name that is long");
    std::strcpy(person.level_name, "stays home");
    person.ismyfriend = 1;
    const auto wire = CPersonRecord::ToWire(person);
    EXPECT_EQ(wire[0], 0x01);
    EXPECT_EQ(wire[3], 0x04);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&wire[4])), "alice");
    EXPECT_EQ(wire::GetU16(&wire[156]), 1);      // seatno
    EXPECT_EQ(wire::GetU16(&wire[158]), 0xFFFF); // watchno
    EXPECT_EQ(wire::GetU32(&wire[128]), 0xFFFFFFFBu);

    const PERSON back = CPersonRecord::FromWire(wire.data());
    EXPECT_EQ(back.id, person.id);
    EXPECT_STREQ(back.username, "alice");
    EXPECT_EQ(back.seatno, 1);
    EXPECT_EQ(back.watchno, -1);
    EXPECT_EQ(back.gamescore, -5);
    EXPECT_EQ(back.status, 4);
    EXPECT_STREQ(back.school_name, "a school name t"); // 16 bytes travel, the last ends it
    EXPECT_STREQ(back.level_name, "");
    EXPECT_EQ(back.ismyfriend, 0);
}

TEST(PersonRecord, UnterminatedTextsAreCutInsideTheirFields) {
    std::array<uint8_t, CPersonRecord::SIZE> wire;
    wire.fill('x');
    const PERSON person = CPersonRecord::FromWire(wire.data());
    EXPECT_EQ(std::strlen(person.username), sizeof(person.username) - 1);
    EXPECT_EQ(std::strlen(person.m_sCRemark), sizeof(person.m_sCRemark) - 1);
}

} // namespace
} // namespace kelo
