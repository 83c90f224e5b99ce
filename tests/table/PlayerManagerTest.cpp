// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"
#include "table/CPlayerManager.h"

#include <gtest/gtest.h>

namespace kelo {
namespace {

using test::MakePerson;

TEST(PlayerManager, KeepsPlayersBySeatAndWatchersByLowId) {
    CPlayerManager people;
    people.AddPerson(MakePerson(100, "first", 0));
    people.AddPerson(MakePerson(101, "second", 0)); // same seat: replaces the first
    people.AddPerson(MakePerson(102, "odd", 1, 7)); // any status but 5 is a player
    people.AddPerson(MakePerson(0x10064, "watcher", 0, 5));
    people.AddPerson(MakePerson(0x20064, "watcher2", 0, 5)); // same low 16 bits: replaces
    EXPECT_EQ(people.Players().size(), 2u);
    EXPECT_EQ(people.GetPersonBySeat(0)->person.id, 101u);
    EXPECT_EQ(people.GetPersonBySeat(1)->person.status, WireValue(TableRole::Player));
    EXPECT_EQ(people.Watchers().size(), 1u);
    EXPECT_EQ(people.Watchers().at(0x64).person.id, 0x20064u);
    EXPECT_FALSE(people.IsPresent(100));
    EXPECT_TRUE(people.IsPresent(0x20064));

    EXPECT_EQ(people.GetOwnSeat(), CPlayerManager::NONE);
    EXPECT_EQ(people.GetOwnColour(), Colour::None);
    people.SetOwnId(102);
    people.SetColour(102, Colour::Black);
    EXPECT_EQ(people.GetOwnSeat(), 1);
    EXPECT_EQ(people.GetOwnColour(), Colour::Black);
    EXPECT_EQ(people.GetPersonByColour(Colour::Black)->person.id, 102u);
    EXPECT_TRUE(people.RemovePerson(102));
    EXPECT_FALSE(people.RemovePerson(102));
    EXPECT_EQ(people.GetOwnSeat(), CPlayerManager::NONE);
}

// A person sent again after a reconnection: the record is new, the place at the table is not,
// unless the person turned from player to watcher or back.
TEST(PlayerManager, APersonSentAgainKeepsSeatColourAndResults) {
    constexpr int16_t PLAYER = WireValue(TableRole::Player),
                      WATCHER = WireValue(TableRole::Watcher);
    struct Case {
        const char* name;
        int16_t status;      // first added on (or behind) seat 1
        int16_t againStatus; // sent again naming againSeat
        int16_t againSeat;
        int16_t seat; // afterwards
        Colour colour;
        int32_t score;
    } cases[] = {
        {"Player", PLAYER, PLAYER, 0, 1, Colour::Black, 30},
        {"Watcher", WATCHER, WATCHER, 0, 1, Colour::Black, 30},
        {"PlayerTurnsWatcher", PLAYER, WATCHER, 0, 0, Colour::None, 0},
        {"WatcherTurnsPlayer", WATCHER, PLAYER, 1, 1, Colour::None, 0},
    };
    for (const Case& c : cases) {
        CPlayerManager people;
        people.SetSeatCount(2);
        people.AddPerson(MakePerson(100, "white", 0));
        PERSON first = MakePerson(7, "first", 1, c.status);
        first.gamescore = 30;
        people.AddPerson(first);
        people.SetColour(7, Colour::Black);

        PERSON again = MakePerson(7, "again", c.againSeat, c.againStatus);
        people.AddPerson(again);
        const CPlayerRecord* person = people.GetPersonById(7);
        ASSERT_NE(person, nullptr) << c.name;
        EXPECT_EQ(person->Role(), RoleFromStatus(c.againStatus)) << c.name;
        EXPECT_EQ(person->person.seatno, c.seat) << c.name;
        EXPECT_EQ(person->colour, c.colour) << c.name;
        EXPECT_EQ(person->person.gamescore, c.score) << c.name;
        EXPECT_STREQ(person->person.username, "again") << c.name;
        // Nobody else moved, and the person is at the table once.
        EXPECT_EQ(people.GetPersonBySeat(0)->person.id, 100u) << c.name;
        EXPECT_EQ(people.Players().size() + people.Watchers().size(), 2u) << c.name;
    }
}

// The reference server's records carry no names: they must not wipe the hall's names, nor the
// head picture and sex the hall gave with them.
TEST(PlayerManager, ARecordWithoutNamesKeepsTheNamesGiven) {
    CPlayerManager people;
    PERSON given = MakePerson(7, "alice", 0);
    given.headpicid = 5;
    given.sex = 1;
    people.AddPerson(given);
    PERSON nameless = MakePerson(7, "", 0);
    nameless.gamescore = 12;
    people.AddPerson(nameless);
    EXPECT_STREQ(people.GetPersonById(7)->person.username, "alice");
    EXPECT_STREQ(people.GetPersonById(7)->person.nickname, "alice");
    EXPECT_EQ(people.GetPersonById(7)->person.headpicid, 5);
    EXPECT_EQ(people.GetPersonById(7)->person.sex, 1);
    PERSON renamed = MakePerson(7, "alicia", 0);
    renamed.headpicid = 2;
    people.AddPerson(renamed);
    EXPECT_STREQ(people.GetPersonById(7)->person.username, "alicia");
    EXPECT_EQ(people.GetPersonById(7)->person.headpicid, 2) << "a full record is taken whole";
}

TEST(PlayerManager, SeatAfterWrapsAroundTheSeatCount) {
    struct Case {
        uint16_t seats;
        int32_t seat;
        bool forward;
        uint16_t expected;
    } cases[] = {
        {2, 0, true, 1},  {2, 1, true, 0},       {2, 0, false, 1}, {4, 3, true, 0},
        {4, 0, false, 3}, {2, -1, true, 0xFFFF}, {0, 5, true, 6},  {0, 5, false, 4},
    };
    for (const Case& c : cases) {
        CPlayerManager people;
        people.SetSeatCount(c.seats);
        EXPECT_EQ(people.SeatAfter(c.seat, c.forward), c.expected)
            << c.seats << " seats, from " << c.seat;
    }
}

TEST(PlayerManager, AdvanceTurnSkipsEmptySeatsAndStopsWhenNobodySits) {
    CPlayerManager people;
    people.SetSeatCount(4);
    people.AddPerson(MakePerson(1, "a", 0));
    people.AddPerson(MakePerson(2, "b", 2));
    people.SetCurrentTurnSeat(0);
    people.AdvanceTurn(true);
    EXPECT_EQ(people.GetCurrentTurnSeat(), 2);
    people.AdvanceTurn(true);
    EXPECT_EQ(people.GetCurrentTurnSeat(), 0);
    people.AdvanceTurn(false);
    EXPECT_EQ(people.GetCurrentTurnSeat(), 2);

    CPlayerManager empty;
    empty.SetSeatCount(2);
    empty.SetCurrentTurnSeat(1);
    empty.AdvanceTurn(true); // must return
    EXPECT_EQ(empty.GetCurrentTurnSeat(), 1);
    empty.SetSeatCount(0);
    empty.AdvanceTurn(true);
    EXPECT_EQ(empty.GetCurrentTurnSeat(), 2);
}

TEST(PlayerManager, RenumberColoursStartsAtTheFirstMover) {
    CPlayerManager people;
    people.SetSeatCount(2);
    people.AddPerson(MakePerson(1, "a", 0));
    people.AddPerson(MakePerson(2, "b", 1));
    people.SetOwnId(1);
    people.SetFirstMoverSeat(1);
    people.RenumberColours(Colour::White);
    EXPECT_EQ(people.GetPersonBySeat(1)->colour, Colour::White);
    EXPECT_EQ(people.GetPersonBySeat(0)->colour, Colour::Black);
    people.SetCurrentTurnSeat(1);
    EXPECT_FALSE(people.IsMyTurn());

    people.RenumberColours(Colour::None); // nothing happens
    EXPECT_EQ(people.GetPersonBySeat(1)->colour, Colour::White);
    people.SetFirstMoverSeat(CPlayerManager::NONE);
    people.RenumberColours(Colour::White);
    EXPECT_EQ(people.GetPersonBySeat(0)->colour, Colour::Black);
}

} // namespace
} // namespace kelo
