#include "social/CBaseGameinfoView.h"

#include "link/CMessageRev.h"
#include "link/CPersonRecord.h"
#include "link/MSG_LEAVE_WATCH.h"
#include "link/MSG_SCORES.h"
#include "link/MessageTypes.h"
#include "link/WireOrder.h"
#include "social/CZynPersonListImp.h"
#include "table/CPlayerManager.h"
#include "table/CTableState.h"

#include <array>
#include <cstring>

namespace kelo {

namespace {

// The integer fields of an extra-data record: 32-bit ones and 16-bit ones, by offset.
constexpr std::array<size_t, 6> EXTRA_U32_AT = {0, 4, 8, 12, 16, 20};
constexpr std::array<size_t, 3> EXTRA_U16_AT = {24, 98, 172};

} // namespace

void CBaseGameinfoView::OnMessageRev(const CMessageRev& message) {
    const uint8_t* body = message.Body();
    const uint32_t length = body != nullptr ? message.Length() : 0;
    CPlayerManager& people = m_people;
    switch (message.Type()) {
    case MSG_TABLE_PERSONS:
        // Only whole records: a length that is not a multiple of the record adds nobody.
        if (length % CPersonRecord::SIZE == 0) {
            for (uint32_t at = 0; at < length; at += CPersonRecord::SIZE) {
                const PERSON person = CPersonRecord::FromWire(body + at);
                people.AddPerson(person);
                ListPerson(person.id);
            }
        }
        MarkSelf();
        return;
    case MSG_USER_ENTER: {
        if (length < CPersonRecord::SIZE)
            return;
        const PERSON person = CPersonRecord::FromWire(body);
        people.AddPerson(person);
        if (!people.IsPresent(person.id))
            return;
        ListPerson(person.id);
        MarkSelf();
        return;
    }
    case MSG_LEAVE_WATCH: {
        MSG_LEAVE_WATCH_BODY leave;
        if (!wire::DecodeThrough<&MSG_LEAVE_WATCH_BODY::id>(body, length, leave))
            return;
        if (leave.id == people.OwnId()) {
            m_state.SetState(GameState::Ended);
            if (m_pList != nullptr)
                m_pList->Reset();
            return;
        }
        if (const CPlayerRecord* who = people.GetPersonById(leave.id); who && m_pList)
            m_pList->RemovePerson(who->person);
        people.RemovePerson(leave.id);
        return;
    }
    case MSG_PERSON_UPDATE:
        OnExtraData(body, length);
        return;
    case MSG_SCORES:
        OnScores(body, length);
        return;
    default:
        return;
    }
}

void CBaseGameinfoView::FillList() {
    if (m_pList == nullptr)
        return;
    for (const auto& [seat, record] : m_people.Players())
        m_pList->AddPerson(record.person);
    for (const auto& [number, record] : m_people.Watchers())
        m_pList->AddPerson(record.person);
    MarkSelf();
}

void CBaseGameinfoView::ListPerson(uint32_t id) {
    const CPlayerRecord* record = m_people.GetPersonById(id);
    if (m_pList != nullptr && record != nullptr)
        m_pList->AddPerson(record->person);
}

void CBaseGameinfoView::MarkSelf() {
    const CPlayerRecord* own = m_people.GetOwnRecord();
    if (m_pList != nullptr && own != nullptr)
        m_pList->SetSelf(own->person);
}

void CBaseGameinfoView::OnExtraData(const uint8_t* body, size_t length) {
    const size_t count = length / CZynPersonListImp::EXTRA_SIZE;
    if (count > MAX_EXTRA_RECORDS || m_pList == nullptr)
        return;
    for (size_t i = 0; i < count; ++i) {
        // Each record is converted on a copy of its own: the other windows read the same body.
        std::array<uint8_t, CZynPersonListImp::EXTRA_SIZE> record;
        std::memcpy(record.data(), body + i * record.size(), record.size());
        for (size_t at : EXTRA_U32_AT) {
            const uint32_t value = wire::GetU32(record.data() + at);
            std::memcpy(record.data() + at, &value, sizeof value);
        }
        for (size_t at : EXTRA_U16_AT) {
            const uint16_t value = wire::GetU16(record.data() + at);
            std::memcpy(record.data() + at, &value, sizeof value);
        }
        m_pList->SetExtraData(record.data(), record.size());
    }
}

void CBaseGameinfoView::OnScores(const uint8_t* body, size_t length) {
    MSG_SCORES_BODY scores;
    if (!MSG_SCORES_BODY::FromWire(body, length, scores))
        return;
    for (int16_t seat = 0; seat < 2; ++seat) {
        const size_t i = static_cast<size_t>(seat);
        if (!m_people.SetResults(seat, scores.total[i], scores.won[i], scores.lost[i],
                                 scores.drawn[i]))
            continue;
        if (m_pList != nullptr) {
            if (const CPlayerRecord* player = m_people.GetPersonBySeat(seat))
                m_pList->UpdatePerson(player->person);
        }
    }
    MarkSelf();
}

} // namespace kelo
