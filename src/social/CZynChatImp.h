// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/IMessageSink.h"
#include "link/MSG_TABLE_CHAT.h"
#include "social/IChatSink.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

namespace kelo {

class CPlayerManager;
class CTableMode;
class IMessageSender;
struct PERSON;

// The table chat: the lines received from the table (each in the colour of its chat head), the
// table's own system lines, and the input line whose text goes to the table as the user's line.
// The chat window draws the lines and passes the typing on.
class CZynChatImp : public IMessageSink, public IChatSink {
public:
    // The child window identifier of the chat in the table window.
    static constexpr uint16_t CHILD_ID = 32784;
    // A line on the wire is at most this many bytes (GBK), without its ending zero.
    static constexpr size_t MAX_LINE_BYTES = 400;
    // Older lines are dropped beyond this many.
    static constexpr size_t MAX_LINES = 500;
    // Dark blue, the colour of the user's own lines.
    static constexpr uint32_t OWN_COLOUR = 0x00A03010;

    struct Line {
        std::string text; // UTF-8
        uint32_t colour;  // 0x00BBGGRR
        bool system;
        std::string link = {}; // a web address the line leads to (advertisements)
    };
    // The size of the hall's header of an advertisement line, and where its colour is.
    static constexpr size_t ADV_HEADER_SIZE = 44;
    static constexpr size_t ADV_COLOUR_AT = 28;

    // linkUp says whether the connection to the game server is up now.
    CZynChatImp(const CPlayerManager& people, const CTableMode& mode, IMessageSender& sender,
                std::function<bool()> linkUp);

    // A received table chat line (3021, also 3009 from older servers).
    void OnMessageRev(const CMessageRev& message) override;
    // IChatSink: a line of the table itself.
    void AddSystemLine(const std::string& text, uint32_t colour) override;

    // The hall's advertisement: text and link (GBK) under the hall's 44-byte chat header, whose
    // colour (in the hall's own byte order) the line takes.
    void AddAdvertisement(const std::string& header, const std::string& link,
                          const std::string& text);

    // The input line (UTF-8).
    const std::string& Input() const { return m_strInput; }
    void SetInput(const std::string& text);
    // Puts "nickname[username]," into the input line, to address that person.
    void AddressPerson(const PERSON& person);
    // A local table has nobody to talk to: nothing typed is ever sent.
    bool LocalTable() const;
    // Sends the input line as the user's line and empties it; true when it went out. Nothing is
    // sent in local mode, while the link is down, without the own record, or for an empty line.
    bool SendInput();
    // Sends a typed line (UTF-8) with the chat's own head; true when it went out.
    bool SendLine(const std::string& typed);
    // The whole line that the user's typed text (UTF-8) becomes on the wire, in GBK:
    // "nickname(username)说：text" for a seated player, "nickname(username[旁观])说：text" for a
    // watcher, cut to 400 bytes without splitting a character.
    static std::string LineOf(const PERSON& own, const std::string& typed);

    const std::deque<Line>& Lines() const { return m_lines; }
    // The last line received, with its head.
    const MSG_TABLE_CHAT_BODY& LastHead() const { return m_lastHead; }
    const std::string& LastText() const { return m_strLastText; }

    // Told after a line was added (its index in Lines() is the last one) and after the input
    // line changed from here.
    std::function<void(const Line&)> onLine;
    std::function<void()> onInputChanged;

private:
    void Add(Line line);

    const CPlayerManager& m_people;
    const CTableMode& m_mode;
    IMessageSender& m_sender;
    std::function<bool()> m_linkUp;
    std::deque<Line> m_lines;
    std::string m_strInput;
    MSG_TABLE_CHAT_BODY m_lastHead;
    std::string m_strLastText;
};

} // namespace kelo
