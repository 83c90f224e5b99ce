#include "table/CPlayerManager.h"

namespace kelo {

namespace {
constexpr int16_t STATUS_WATCHER = 5;
}

void CPlayerManager::AddPerson(const PERSON& person) {
    CPlayerRecord record;
    record.person = person;
    if (person.status == STATUS_WATCHER)
        m_watchers[static_cast<uint16_t>(person.id & 0xFFFF)] = record;
    else
        m_players[person.seatno] = record;
}

void CPlayerManager::RemovePerson(uint32_t id) {
    for (auto it = m_players.begin(); it != m_players.end(); ++it) {
        if (it->second.person.id == id) {
            m_players.erase(it);
            return;
        }
    }
    for (auto it = m_watchers.begin(); it != m_watchers.end(); ++it) {
        if (it->second.person.id == id) {
            m_watchers.erase(it);
            return;
        }
    }
}

void CPlayerManager::Clear() {
    m_players.clear();
    m_watchers.clear();
}

uint16_t CPlayerManager::GetOwnSeat() const {
    const CPlayerRecord* own = GetOwnRecord();
    return own != nullptr ? static_cast<uint16_t>(own->person.seatno) : NONE;
}

uint16_t CPlayerManager::GetOwnColour() const {
    const CPlayerRecord* own = GetOwnRecord();
    return own != nullptr ? static_cast<uint16_t>(own->colour) : NONE;
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

const CPlayerRecord* CPlayerManager::GetPersonByColour(int16_t colour) const {
    for (const auto& [seat, record] : m_players) {
        if (record.colour == colour)
            return &record;
    }
    return nullptr;
}

void CPlayerManager::SetColour(uint32_t id, int16_t colour) {
    if (CPlayerRecord* record = FindById(id))
        record->colour = colour;
}

} // namespace kelo
