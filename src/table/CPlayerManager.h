// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TableTypes.h"
#include "link/IOwnSeat.h"
#include "link/PERSON.h"

#include <cstdint>
#include <map>

namespace kelo {

// A person at the table with the client's own state about them.
struct CPlayerRecord {
    PERSON person{};
    Colour colour = Colour::None;

    TableRole Role() const { return RoleFromStatus(person.status); }
};

// The people of the table (seated players by seat, watchers by the low 16 bits of their id),
// the own id, and the seats that move first and move now.
class CPlayerManager : public IOwnSeat {
public:
    static constexpr uint16_t NONE = 0xFFFF;
    // A person with the watcher's status is a watcher; any other status becomes the player's,
    // a seated player. A second record with the same key replaces the first. A person already
    // present in the same role keeps seat, colour and game results (score, games won, lost and
    // drawn) and takes the rest from the new record.
    void AddPerson(const PERSON& person);
    // Takes the person with that id off the table; false when there is none.
    bool RemovePerson(uint32_t id);
    void Clear();

    void SetOwnId(uint32_t id) { m_nOwnId = id; }
    uint32_t OwnId() const { return m_nOwnId; }
    void SetSeatCount(uint16_t count) { m_nSeatCount = count; }
    uint16_t SeatCount() const { return m_nSeatCount; }

    const CPlayerRecord* GetOwnRecord() const { return GetPersonById(m_nOwnId); }
    // The own seatno, NONE when the own id is not at the table.
    uint16_t GetOwnSeat() const;
    bool OwnSeat(uint32_t& id, uint16_t& seat) const override;
    // The own colour, None when the own id is not at the table.
    Colour GetOwnColour() const;
    // Players first, then watchers.
    const CPlayerRecord* GetPersonById(uint32_t id) const;
    const CPlayerRecord* GetPersonBySeat(int16_t seat) const;
    // The player that holds the colour.
    const CPlayerRecord* GetPersonByColour(Colour colour) const;
    bool IsPresent(uint32_t id) const { return GetPersonById(id) != nullptr; }
    void SetColour(uint32_t id, Colour colour);
    // The results of the table's games of the player on that seat: total points, games won,
    // lost and drawn. False when the seat is empty.
    bool SetResults(int16_t seat, int32_t total, int32_t won, int32_t lost, int32_t drawn);

    // The seat after (or before) the given one, modulo the seat count.
    uint16_t SeatAfter(int32_t seat, bool forward) const;
    uint16_t GetFirstMoverSeat() const { return m_nFirstMoverSeat; }
    void SetFirstMoverSeat(uint16_t seat) { m_nFirstMoverSeat = seat; }
    uint16_t GetCurrentTurnSeat() const { return m_nCurrentTurnSeat; }
    void SetCurrentTurnSeat(uint16_t seat) { m_nCurrentTurnSeat = seat; }
    bool IsMyTurn() const { return m_nCurrentTurnSeat == GetOwnSeat(); }
    // Moves the turn to the next seat that has a player. With nobody seated it stops after one
    // round instead of walking for ever.
    void AdvanceTurn(bool forward);
    // From the first mover on, each seat in turn gets the next colour, base first.
    void RenumberColours(Colour base);

    const std::map<int16_t, CPlayerRecord>& Players() const { return m_players; }
    const std::map<uint16_t, CPlayerRecord>& Watchers() const { return m_watchers; }

private:
    CPlayerRecord* FindById(uint32_t id);

    std::map<int16_t, CPlayerRecord> m_players;
    std::map<uint16_t, CPlayerRecord> m_watchers;
    uint32_t m_nOwnId = 0;
    uint16_t m_nSeatCount = 0;
    uint16_t m_nFirstMoverSeat = 0;
    uint16_t m_nCurrentTurnSeat = 0;
};

} // namespace kelo
