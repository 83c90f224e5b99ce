// SPDX-License-Identifier: GPL-3.0-or-later
#include "social/CBaseChatView.h"

#include "base/CGbkConverter.h"
#include "link/CMessageRev.h"
#include "link/CPersonRecord.h"
#include "link/MSG_DRAW_ANSWER.h"
#include "link/MSG_GAME_RESULT.h"
#include "link/MSG_LEAVE_WATCH.h"
#include "link/MSG_PLAYTIME_NOTICE.h"
#include "link/MSG_SEAL_ANSWER.h"
#include "link/MSG_USER_BROKEN.h"
#include "link/MSG_USER_STATUS.h"
#include "link/MessageTypes.h"
#include "social/IChatSink.h"
#include "table/CPlayerManager.h"
#include "table/CTableState.h"
#include "table/GameResult.h"

#include <cstring>
#include <string>

namespace kelo {

namespace {

std::string Utf8Name(const char* gbk, size_t size) {
    return CGbkConverter::ToUtf8(CGbkConverter::FromField(gbk, size));
}

// The person a body names by the id it starts with; nullptr when the body ends before the id.
template <class Body>
const CPlayerRecord* NamedPerson(const CPlayerManager& people, const CMessageRev& message) {
    Body body;
    if (!wire::DecodeThrough<&Body::id>(message.Body(), message.Length(), body))
        return nullptr;
    return people.GetPersonById(body.id);
}

} // namespace

void CBaseChatView::OnMessageRev(const CMessageRev& message) {
    const uint8_t* body = message.Body();
    const uint32_t length = message.Length();
    const CPlayerManager& people = m_people;
    auto say = [&](const std::string& text, uint32_t colour = CHAT_TEXT_COLOUR) {
        m_chat.AddSystemLine(text, colour);
    };

    switch (message.Type()) {
    case MSG_USER_STATUS: {
        const CPlayerRecord* who = NamedPerson<MSG_USER_STATUS_BODY>(people, message);
        if (people.GetOwnRecord() == nullptr || who == nullptr)
            return;
        say(Utf8Name(who->person.username, sizeof(who->person.username)) + " 进来了!");
        if (who->person.id != people.OwnId() && who->Role() == TableRole::Player)
            m_state.MarkOpponentBack();
        return;
    }
    case MSG_USER_BROKEN: {
        const CPlayerRecord* who = NamedPerson<MSG_USER_BROKEN_BODY>(people, message);
        if (who == nullptr)
            return;
        say(Utf8Name(who->person.username, sizeof(who->person.username)) + "断线了，请稍候……",
            CHAT_SYSTEM_COLOUR);
        if (who->Role() == TableRole::Player)
            m_state.MarkOpponentBroken();
        return;
    }
    case MSG_LEAVE_WATCH: {
        if (const CPlayerRecord* who = NamedPerson<MSG_LEAVE_WATCH_BODY>(people, message))
            say(Utf8Name(who->person.username, sizeof(who->person.username)) + " 离开了!");
        return;
    }
    case MSG_USER_ENTER: {
        PERSON person;
        if (!CPersonRecord::FromWire(body, length, person) || person.id == people.OwnId())
            return;
        std::string name = Utf8Name(person.username, sizeof(person.username));
        // A record without a name (a server that knows only what the entry said) is named by
        // the table's own record of that person; nobody without a name is announced.
        if (name.empty()) {
            if (const CPlayerRecord* known = people.GetPersonById(person.id))
                name = Utf8Name(known->person.username, sizeof(known->person.username));
        }
        if (!name.empty())
            say(name + " 进来了!");
        return;
    }
    // Every ending gets its line, those that no dialog tells too (an agreed draw, a draw by
    // the server's rules, a sealed game).
    case MSG_GAME_BEGIN:
    case MSG_GAME_STATE:
        m_bEndTold = false;
        return;
    case MSG_GAME_RESULT: {
        MSG_GAME_RESULT_BODY result;
        if (m_bEndTold || !MSG_GAME_RESULT_BODY::FromWire(body, length, result))
            return;
        m_bEndTold = true;
        say(EndingLine(people, result), CHAT_SYSTEM_COLOUR);
        return;
    }
    case MSG_DRAW_ANSWER: {
        MSG_DRAW_ANSWER_BODY answer;
        if (m_bEndTold || !MSG_DRAW_ANSWER_BODY::FromWire(body, length, answer) ||
            answer.agree != 1)
            return;
        m_bEndTold = true;
        say("本局结束：双方同意和棋！", CHAT_SYSTEM_COLOUR);
        return;
    }
    case MSG_SEAL_ANSWER: {
        MSG_SEAL_ANSWER_BODY answer;
        if (m_bEndTold || !MSG_SEAL_ANSWER_BODY::FromWire(body, length, answer) ||
            answer.agree != 1)
            return;
        m_bEndTold = true;
        say("双方续盘保存，本局结束！", CHAT_SYSTEM_COLOUR);
        return;
    }
    case MSG_PLAYTIME_NOTICE: {
        const CPlayerRecord* own = people.GetOwnRecord();
        MSG_PLAYTIME_NOTICE_BODY notice;
        if (!MSG_PLAYTIME_NOTICE_BODY::FromWire(body, length, notice) || own == nullptr ||
            own->person.watchno >= 0 || notice.seatno != static_cast<uint16_t>(own->person.seatno))
            return;
        if (notice.kind == 1)
            say("防沉迷提示：您连续游戏时间累计大于三小时，接下来的赢分减半！", CHAT_SYSTEM_COLOUR);
        else if (notice.kind == 2)
            say("防沉迷提示：您连续游戏时间累计大于三小时，接下来的赢分为0！", CHAT_SYSTEM_COLOUR);
        return;
    }
    default:
        return;
    }
}

} // namespace kelo
