// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CPlayerManager.h"

#include <cstring>

namespace kelo {

void CPlayerManager::AddPerson(const PERSON& person) {
    CPlayerRecord record;
    record.person = person;
    const bool watcher = RoleFromStatus(person.status) == TableRole::Watcher;
    if (!watcher)
        record.person.status = WireValue(TableRole::Player);
    if (const CPlayerRecord* known = GetPersonById(person.id)) {
        // The person sent again (the server does so when somebody comes back after a lost
        // connection) keeps the seat, the colour and the results of the table's games until
        // the next game says otherwise; one who turns from player to watcher or back takes a
        // new place.
        if (known->Role() == record.Role()) {
            const PERSON& was = known->person;
            record.colour = known->colour;
            record.person.seatno = was.seatno;
            record.person.gamescore = was.gamescore;
            record.person.winnum = was.winnum;
            record.person.losenum = was.losenum;
            record.person.equalnum = was.equalnum;
        }
        // A record without names (a server that knows only what the entry said) does not wipe
        // the names the hall gave, nor the head picture and sex that came with them.
        if (record.person.username[0] == '\0') {
            std::memcpy(record.person.username, known->person.username,
                        sizeof record.person.username);
            record.person.headpicid = known->person.headpicid;
            record.person.sex = known->person.sex;
        }
        if (record.person.nickname[0] == '\0')
            std::memcpy(record.person.nickname, known->person.nickname,
                        sizeof record.person.nickname);
        RemovePerson(person.id);
    }
    if (watcher)
        m_watchers[static_cast<uint16_t>(person.id & 0xFFFF)] = record;
    else
        m_players[record.person.seatno] = record;
}

bool CPlayerManager::SetResults(int16_t seat, int32_t total, int32_t won, int32_t lost,
                                int32_t drawn) {
    const auto it = m_players.find(seat);
    if (it == m_players.end())
        return false;
    PERSON& person = it->second.person;
    person.gamescore = total;
    person.winnum = won;
    person.losenum = lost;
    person.equalnum = drawn;
    return true;
}

bool CPlayerManager::RemovePerson(uint32_t id) {
    for (auto it = m_players.begin(); it != m_players.end(); ++it) {
        if (it->second.person.id == id) {
            m_players.erase(it);
            return true;
        }
    }
    for (auto it = m_watchers.begin(); it != m_watchers.end(); ++it) {
        if (it->second.person.id == id) {
            m_watchers.erase(it);
            return true;
        }
    }
    return false;
}

void CPlayerManager::Clear() {
    m_players.clear();
    m_watchers.clear();
}

uint16_t CPlayerManager::GetOwnSeat() const {
    const CPlayerRecord* own = GetOwnRecord();
    return own != nullptr ? static_cast<uint16_t>(own->person.seatno) : NONE;
}

bool CPlayerManager::OwnSeat(uint32_t& id, uint16_t& seat) const {
    const CPlayerRecord* own = GetOwnRecord();
    if (own == nullptr)
        return false;
    id = own->person.id;
    seat = static_cast<uint16_t>(own->person.seatno);
    return true;
}

Colour CPlayerManager::GetOwnColour() const {
    const CPlayerRecord* own = GetOwnRecord();
    return own != nullptr ? own->colour : Colour::None;
}

const CPlayerRecord* CPlayerManager::GetPersonById(uint32_t id) const {
    return const_cast<CPlayerManager*>(this)->FindById(id);
}

CPlayerRecord* CPlayerManager::FindById(uint32_t id) {
    for (auto& [seat, record] : m_players) {
        if (record.person.id == id)
            return &record;
    }
    for (auto& [key, record] : m_watchers) {
        if (record.person.id == id)
            return &record;
    }
    return nullptr;
}

const CPlayerRecord* CPlayerManager::GetPersonBySeat(int16_t seat) const {
    auto it = m_players.find(seat);
    return it != m_players.end() ? &it->second : nullptr;
}

const CPlayerRecord* CPlayerManager::GetPersonByColour(Colour colour) const {
    for (const auto& [seat, record] : m_players) {
        if (record.colour == colour)
            return &record;
    }
    return nullptr;
}

void CPlayerManager::SetColour(uint32_t id, Colour colour) {
    if (CPlayerRecord* record = FindById(id))
        record->colour = colour;
}

uint16_t CPlayerManager::SeatAfter(int32_t seat, bool forward) const {
    if (seat < 0)
        return NONE;
    if (m_nSeatCount == 0)
        return static_cast<uint16_t>(forward ? seat + 1 : seat - 1);
    if (forward)
        return static_cast<uint16_t>((seat + 1) % m_nSeatCount);
    return static_cast<uint16_t>((seat - 1 + m_nSeatCount) % m_nSeatCount);
}

void CPlayerManager::AdvanceTurn(bool forward) {
    if (m_nSeatCount == 0) {
        m_nCurrentTurnSeat = static_cast<uint16_t>(m_nCurrentTurnSeat + (forward ? 1 : -1));
        return;
    }
    uint16_t seat = m_nCurrentTurnSeat;
    for (int step = 0; step < m_nSeatCount; ++step) {
        seat = SeatAfter(seat, forward);
        if (GetPersonBySeat(static_cast<int16_t>(seat)) != nullptr)
            break;
    }
    m_nCurrentTurnSeat = seat;
}

void CPlayerManager::RenumberColours(Colour base) {
    if (WireValue(base) < 0 || m_nFirstMoverSeat == NONE)
        return;
    uint16_t seat = m_nFirstMoverSeat;
    // Tables of more seats than sides number on past the two sides.
    uint32_t colour = static_cast<uint32_t>(WireValue(base));
    do {
        if (colour > m_nSeatCount)
            break;
        auto it = m_players.find(static_cast<int16_t>(seat));
        if (it != m_players.end())
            it->second.colour = ColourFromWire(static_cast<int16_t>(colour));
        ++colour;
        seat = SeatAfter(seat, true);
    } while (seat != m_nFirstMoverSeat && seat != NONE);
}

} // namespace kelo
