// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/IMessageSink.h"

#include <cstddef>
#include <cstdint>

namespace kelo {

class CPlayerManager;
class CTableState;
class CZynPersonListImp;

// Keeps the table's people up to date from the server's announcements and shows them in the
// person list: the people present (3106), a newcomer (3107), a departure (3027), the extra data
// of the people (3110) and the scores after a game (656).
class CBaseGameinfoView : public IMessageSink {
public:
    // A 3110 with more records than this is ignored whole.
    static constexpr size_t MAX_EXTRA_RECORDS = 64;

    // Without a list only the player manager follows.
    CBaseGameinfoView(CPlayerManager& people, CTableState& state, CZynPersonListImp* list = nullptr)
        : m_people(people), m_state(state), m_pList(list) {}
    void OnMessageRev(const CMessageRev& message) override;

    // Shows everybody the player manager knows now, with the own row marked.
    void FillList();

private:
    // The manager's record of that id goes into the list.
    void ListPerson(uint32_t id);
    void MarkSelf();
    void OnExtraData(const uint8_t* body, size_t length);
    void OnScores(const uint8_t* body, size_t length);

    CPlayerManager& m_people;
    CTableState& m_state;
    CZynPersonListImp* m_pList;
};

} // namespace kelo
