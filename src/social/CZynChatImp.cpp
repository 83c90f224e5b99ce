// SPDX-License-Identifier: GPL-3.0-or-later
#include "social/CZynChatImp.h"

#include "base/CGbkConverter.h"
#include "link/CMessageRev.h"
#include "link/CTableMode.h"
#include "link/IMessageSender.h"
#include "link/MessageTypes.h"
#include "table/CPlayerManager.h"

#include <cstring>
#include <utility>
#include <vector>

namespace kelo {

CZynChatImp::CZynChatImp(const CPlayerManager& people, const CTableMode& mode,
                         IMessageSender& sender, std::function<bool()> linkUp)
    : m_people(people), m_mode(mode), m_sender(sender), m_linkUp(std::move(linkUp)) {}

void CZynChatImp::OnMessageRev(const CMessageRev& message) {
    if (message.Type() != MSG_TABLE_CHAT && message.Type() != MSG_TABLE_CHAT_OLD)
        return;
    const uint8_t* body = message.Body();
    const uint32_t length = message.Length();
    MSG_TABLE_CHAT_BODY head;
    if (body == nullptr || !MSG_TABLE_CHAT_BODY::FromWire(body, length, head))
        return;
    // The text runs to its zero byte, never past the body.
    const char* text = reinterpret_cast<const char*>(body + MSG_TABLE_CHAT_BODY::SIZE);
    const size_t room = length - MSG_TABLE_CHAT_BODY::SIZE;
    m_lastHead = head;
    m_strLastText.assign(text, strnlen(text, room));
    Add({CGbkConverter::ToUtf8(m_strLastText), head.colour & 0x00FFFFFF, false});
}

void CZynChatImp::AddSystemLine(const std::string& text, uint32_t colour) {
    Add({text, colour & 0x00FFFFFF, true});
}

void CZynChatImp::AddAdvertisement(const std::string& header, const std::string& link,
                                   const std::string& text) {
    uint32_t colour = CHAT_TEXT_COLOUR;
    if (header.size() >= ADV_COLOUR_AT + sizeof colour)
        std::memcpy(&colour, header.data() + ADV_COLOUR_AT, sizeof colour);
    Add({CGbkConverter::ToUtf8(text), colour & 0x00FFFFFF, true, CGbkConverter::ToUtf8(link)});
}

void CZynChatImp::Add(Line line) {
    m_lines.push_back(std::move(line));
    if (m_lines.size() > MAX_LINES)
        m_lines.pop_front();
    if (onLine)
        onLine(m_lines.back());
}

void CZynChatImp::SetInput(const std::string& text) {
    m_strInput = text;
}

void CZynChatImp::AddressPerson(const PERSON& person) {
    m_strInput = CGbkConverter::ToUtf8(CGbkConverter::FromField(person.nickname)) + "[" +
                 CGbkConverter::ToUtf8(CGbkConverter::FromField(person.username)) + "],";
    if (onInputChanged)
        onInputChanged();
}

bool CZynChatImp::LocalTable() const {
    return m_mode.LocalMode();
}

bool CZynChatImp::SendInput() {
    if (!SendLine(m_strInput))
        return false;
    m_strInput.clear();
    if (onInputChanged)
        onInputChanged();
    return true;
}

std::string CZynChatImp::LineOf(const PERSON& own, const std::string& typed) {
    const std::string nickname = CGbkConverter::FromField(own.nickname);
    const std::string username = CGbkConverter::FromField(own.username);
    const std::string speaker = nickname + "(" + username +
                                (own.watchno == -1 ? "" : CGbkConverter::ToGbk("[旁观]")) + ")" +
                                CGbkConverter::ToGbk("说");
    return CGbkConverter::CutGbk(speaker + CGbkConverter::ToGbk("：") + CGbkConverter::ToGbk(typed),
                                 MAX_LINE_BYTES);
}

bool CZynChatImp::SendLine(const std::string& typed) {
    const CPlayerRecord* own = m_people.GetOwnRecord();
    if (typed.empty() || own == nullptr || m_mode.LocalMode() || !m_linkUp || !m_linkUp())
        return false;
    MSG_TABLE_CHAT_BODY head;
    head.id = own->person.id;
    head.seatno = static_cast<uint16_t>(own->person.seatno);
    head.watchno = static_cast<uint16_t>(own->person.watchno);
    head.colour = OWN_COLOUR;
    const std::string line = LineOf(own->person, typed);
    const auto wire = head.ToWire();
    std::vector<uint8_t> body(wire.begin(), wire.end());
    body.insert(body.end(), line.begin(), line.end());
    body.push_back(0);
    m_sender.SendMessage(MSG_TABLE_CHAT, body.data(), body.size());
    return true;
}

} // namespace kelo
