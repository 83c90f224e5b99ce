#pragma once

#include "app/PERSON.h"

#include <cstdint>
#include <map>

namespace kelo {

// A person at the table with the client's own state about them.
struct CPlayerRecord {
    PERSON person{};
    int16_t colour = -1;
};

// The people of the table: seated players by seat, watchers by the low 16 bits of their id.
class CPlayerManager {
public:
    static constexpr uint16_t NONE = 0xFFFF;

    // A person with status 5 is a watcher, anyone else a player. A second record with the same
    // key replaces the first.
    void AddPerson(const PERSON& person);
    void RemovePerson(uint32_t id);
    void Clear();

    void SetOwnId(uint32_t id) { m_nOwnId = id; }
    uint32_t OwnId() const { return m_nOwnId; }

    const CPlayerRecord* GetOwnRecord() const { return GetPersonById(m_nOwnId); }
    uint16_t GetOwnSeat() const;
    uint16_t GetOwnColour() const;
    const CPlayerRecord* GetPersonById(uint32_t id) const;
    const CPlayerRecord* GetPersonBySeat(int16_t seat) const;
    const CPlayerRecord* GetPersonByColour(int16_t colour) const;
    bool IsPresent(uint32_t id) const { return GetPersonById(id) != nullptr; }
    void SetColour(uint32_t id, int16_t colour);

    uint16_t GetFirstMoverSeat() const { return m_nFirstMoverSeat; }
    void SetFirstMoverSeat(uint16_t seat) { m_nFirstMoverSeat = seat; }
    uint16_t GetCurrentTurnSeat() const { return m_nCurrentTurnSeat; }
    void SetCurrentTurnSeat(uint16_t seat) { m_nCurrentTurnSeat = seat; }
    bool IsMyTurn() const { return m_nCurrentTurnSeat == GetOwnSeat(); }

    const std::map<int16_t, CPlayerRecord>& Players() const { return m_players; }
    const std::map<uint16_t, CPlayerRecord>& Watchers() const { return m_watchers; }

private:
    CPlayerRecord* FindById(uint32_t id);

    std::map<int16_t, CPlayerRecord> m_players;
    std::map<uint16_t, CPlayerRecord> m_watchers;
    uint32_t m_nOwnId = 0;
    uint16_t m_nFirstMoverSeat = 0;
    uint16_t m_nCurrentTurnSeat = 0;
};

} // namespace kelo
