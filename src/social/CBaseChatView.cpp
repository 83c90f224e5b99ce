#include "social/CBaseChatView.h"

#include "base/CGbkConverter.h"
#include "link/CMessageRev.h"
#include "link/MessageTypes.h"
#include "link/WireOrder.h"
#include "social/IChatSink.h"
#include "table/CPlayerManager.h"
#include "table/CTableState.h"

#include <cstring>
#include <string>

namespace kelo {

namespace {

constexpr size_t USERNAME_OFFSET = 4;
constexpr size_t USERNAME_SIZE = 34;

std::string Utf8Name(const char* gbk, size_t size) {
    return CGbkConverter::ToUtf8(CGbkConverter::FromField(gbk, size));
}

} // namespace

void CBaseChatView::OnMessageRev(const CMessageRev& message) {
    const uint8_t* body = message.Body();
    const uint32_t length = message.Length();
    const CPlayerManager& people = m_people;
    auto person = [&]() -> const CPlayerRecord* {
        return length >= 4 ? people.GetPersonById(wire::GetU32(body)) : nullptr;
    };
    auto say = [&](const std::string& text) { m_chat.AddSystemLine(text, CHAT_SYSTEM_COLOUR); };

    switch (message.Type()) {
    case MSG_USER_STATUS: {
        const CPlayerRecord* who = person();
        if (people.GetOwnRecord() == nullptr || who == nullptr)
            return;
        say(Utf8Name(who->person.username, sizeof(who->person.username)) + " 进来了!");
        if (who->person.id != people.OwnId() && who->Role() == TableRole::Player)
            m_state.SetOpponentDisconnected(false);
        return;
    }
    case MSG_USER_BROKEN: {
        const CPlayerRecord* who = person();
        if (who == nullptr)
            return;
        say(Utf8Name(who->person.username, sizeof(who->person.username)) + "断线了，请稍候……");
        if (who->Role() == TableRole::Player)
            m_state.SetOpponentDisconnected(true);
        return;
    }
    case MSG_LEAVE_WATCH: {
        if (const CPlayerRecord* who = person())
            say(Utf8Name(who->person.username, sizeof(who->person.username)) + " 离开了!");
        return;
    }
    case MSG_USER_ENTER: {
        if (length < USERNAME_OFFSET + USERNAME_SIZE || wire::GetU32(body) == people.OwnId())
            return;
        const char* name = reinterpret_cast<const char*>(body + USERNAME_OFFSET);
        say(Utf8Name(name, USERNAME_SIZE) + " 进来了!");
        return;
    }
    case MSG_PLAYTIME_NOTICE: {
        const CPlayerRecord* own = people.GetOwnRecord();
        if (length < 4 || own == nullptr || own->person.watchno >= 0 ||
            wire::GetU16(body) != static_cast<uint16_t>(own->person.seatno))
            return;
        const uint16_t kind = wire::GetU16(body + 2);
        if (kind == 1)
            say("防沉迷提示：您连续游戏时间累计大于三小时，接下来的赢分减半！");
        else if (kind == 2)
            say("防沉迷提示：您连续游戏时间累计大于三小时，接下来的赢分为0！");
        return;
    }
    default:
        return;
    }
}

} // namespace kelo
