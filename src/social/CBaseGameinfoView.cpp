#include "social/CBaseGameinfoView.h"

#include "link/CMessageRev.h"
#include "link/CPersonRecord.h"
#include "link/MessageTypes.h"
#include "link/WireOrder.h"
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
        if (length < 4)
            return;
        const uint32_t id = wire::GetU32(body);
        if (id == people.OwnId())
            m_state.SetState(GameState::Ended);
        else
            people.RemovePerson(id);
        return;
    }
    default:
        return;
    }
}

} // namespace kelo
