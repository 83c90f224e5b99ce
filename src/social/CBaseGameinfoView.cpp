// SPDX-License-Identifier: GPL-3.0-or-later
#include "social/CBaseGameinfoView.h"

#include "link/CMessageRev.h"
#include "link/CPersonRecord.h"
#include "link/MSG_LEAVE_WATCH.h"
#include "link/MSG_PERSON_UPDATE.h"
#include "link/MSG_SCORES.h"
#include "link/MessageTypes.h"
#include "social/CZynPersonListImp.h"
#include "table/CPlayerManager.h"
#include "table/CTableState.h"

namespace kelo {

static_assert(CZynPersonListImp::EXTRA_SIZE == MSG_PERSON_UPDATE_RECORD::SIZE);

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
        PERSON person;
        if (!CPersonRecord::FromWire(body, length, person))
            return;
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
            m_state.End(GameEnd::Left);
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
    const size_t count = length / MSG_PERSON_UPDATE_RECORD::SIZE;
    if (count > MAX_EXTRA_RECORDS || m_pList == nullptr)
        return;
    // Each record is read into a copy of its own: the other windows read the same body.
    for (size_t i = 0; i < count; ++i) {
        const auto record =
            MSG_PERSON_UPDATE_RECORD::FromWire(body + i * MSG_PERSON_UPDATE_RECORD::SIZE);
        const auto bytes = record.HostBytes();
        m_pList->SetExtraData(bytes.data(), bytes.size());
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
