#include "social/CBaseGameinfoView.h"

#include "link/CMessageRev.h"
#include "link/CPersonRecord.h"
#include "link/MSG_LEAVE_WATCH.h"
#include "link/MessageTypes.h"
#include "table/CPlayerManager.h"
#include "table/CTableState.h"

namespace kelo {

void CBaseGameinfoView::OnMessageRev(const CMessageRev& message) {
    const uint8_t* body = message.Body();
    const uint32_t length = message.Length();
    CPlayerManager& people = m_people;
    switch (message.Type()) {
    case MSG_TABLE_PERSONS:
        // Only whole records: a length that is not a multiple of the record adds nobody.
        if (length % CPersonRecord::SIZE != 0)
            return;
        for (uint32_t at = 0; at < length; at += CPersonRecord::SIZE)
            people.AddPerson(CPersonRecord::FromWire(body + at));
        return;
    case MSG_USER_ENTER:
        if (length >= CPersonRecord::SIZE)
            people.AddPerson(CPersonRecord::FromWire(body));
        return;
    case MSG_LEAVE_WATCH: {
        MSG_LEAVE_WATCH_BODY leave;
        if (!wire::DecodeThrough<&MSG_LEAVE_WATCH_BODY::id>(body, length, leave))
            return;
        if (leave.id == people.OwnId())
            m_state.SetState(GameState::Ended);
        else
            people.RemovePerson(leave.id);
        return;
    }
    default:
        return;
    }
}

} // namespace kelo
