#include "social/CBaseGameinfoView.h"

#include "app/CGameContext.h"
#include "link/CMessageRev.h"
#include "link/CPersonRecord.h"
#include "link/MessageTypes.h"
#include "link/WireOrder.h"
#include "table/CPlayerManager.h"

namespace kelo {

namespace {
constexpr int16_t GAME_GIVEN_UP = 3;
}

void CBaseGameinfoView::OnMessageRev(const CMessageRev& message) {
    const uint8_t* body = message.Body();
    const uint32_t length = message.Length();
    CPlayerManager& people = m_context.PlayerManager();
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
            m_context.m_nGameState = GAME_GIVEN_UP;
        else
            people.RemovePerson(id);
        return;
    }
    default:
        return;
    }
}

} // namespace kelo
