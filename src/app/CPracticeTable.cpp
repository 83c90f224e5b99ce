// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CPracticeTable.h"

#include "app/StartGame.h"
#include "base/CGbkConverter.h"
#include "link/CPersonRecord.h"
#include "link/MessageTypes.h"

#include <charconv>
#include <cstring>

namespace kelo {

namespace {

// A person's name fits its record's field with the zero byte after it.
constexpr size_t NAME_BYTES = sizeof(PERSON::nickname) - 1;

// UTF-8 text cut to what a record's field holds in GBK.
std::string FitName(const std::string& utf8) {
    return CGbkConverter::ToUtf8(CGbkConverter::CutGbk(CGbkConverter::ToGbk(utf8), NAME_BYTES));
}

PERSON Player(uint32_t id, const char* username, const std::string& nickname, int16_t seat,
              int16_t picture) {
    PERSON person{};
    person.id = id;
    CGbkConverter::ToField(person.username, CGbkConverter::ToGbk(username));
    CGbkConverter::ToField(person.nickname, CGbkConverter::ToGbk(nickname));
    person.seatno = seat;
    // Neither the person's sex nor a program's is known: the list leaves the column empty.
    person.sex = -1;
    person.watchno = -1;
    person.status = WireValue(TableRole::Player);
    person.headpicid = picture;
    person.deskno = static_cast<int16_t>(CPracticeTable::DESK);
    return person;
}

// "ID:USERNAME:NICKNAME:SEAT", as kelo-bot takes its people.
std::string PlayerOption(uint32_t id, const char* username, const std::string& nickname,
                         uint16_t seat) {
    return std::to_string(id) + ":" + username + ":" + nickname + ":" + std::to_string(seat);
}

std::string TimeText(const PracticeTime& time) {
    return std::to_string(time.total) + "," + std::to_string(time.pace) + "," +
           std::to_string(time.added);
}

std::string After(const std::string& line, const std::string& start) {
    return line.compare(0, start.size(), start) == 0 ? line.substr(start.size()) : std::string();
}

} // namespace

CPracticeTable::CPracticeTable(const PracticeChoice& choice, const std::string& personNickname,
                               bool coin)
    : m_choice(choice) {
    // The bot's command line takes the people apart at ":".
    std::string name = personNickname;
    for (char& c : name) {
        if (c == ':' || c == '\n' || c == '\r')
            c = '_';
    }
    m_strPersonNickname = FitName(name);
    if (m_strPersonNickname.empty())
        m_strPersonNickname = "棋手";
    const bool white =
        choice.colour == PracticeColour::White || (choice.colour == PracticeColour::Random && coin);
    m_nPersonSeat = white ? 0 : 1;
}

std::vector<std::string> CPracticeTable::ServerArguments() const {
    return {"--port", "0", "--time", TimeText(m_choice.time), "--control-stdin"};
}

std::vector<std::string> CPracticeTable::BotArguments(uint16_t port,
                                                      const std::string& engineCommand) const {
    std::vector<std::string> args = {
        "--server", std::string(HOST) + ":" + std::to_string(port),
        "--desk",   std::to_string(DESK),
        "--me",     BOT_USERNAME,
        "--player", PlayerOption(PERSON_ID, PERSON_USERNAME, m_strPersonNickname, PersonSeat()),
        "--player", PlayerOption(BOT_ID, BOT_USERNAME, BOT_NAME, BotSeat()),
        "--engine"};
    if (!engineCommand.empty())
        args.push_back(engineCommand);
    args.insert(args.end(), {"--level", std::to_string(m_choice.level), "--control-stdin"});
    return args;
}

void CPracticeTable::Seat(StartGame& hall, uint16_t port) const {
    const PERSON person = Player(PERSON_ID, PERSON_USERNAME, m_strPersonNickname,
                                 static_cast<int16_t>(PersonSeat()), PERSON_PICTURE);
    const PERSON bot = BotPerson();
    hall.AddPerson(&person);
    hall.AddPerson(&bot);
    GAMESTR me{};
    CGbkConverter::ToField(me.str, PERSON_USERNAME);
    hall.SetMe(&me);
    hall.SetMyID(static_cast<int32_t>(PERSON_ID));
    hall.SetSeatNum(2);
    // The people list keeps its own column titles (user name, nickname, ...).
    hall.SetWatchStyle(0);
    hall.AddRoomInfo1(static_cast<int16_t>(DESK), 0, 0);
    GAMESTR host{};
    CGbkConverter::ToField(host.str, HOST);
    // The hall's port is a signed 16-bit value; the table reads it back as unsigned.
    hall.SetGameSockIp(&host, static_cast<int16_t>(port));
}

std::string CPracticeTable::BotNickname() const {
    const std::string name = m_strEngineName.empty() ? BOT_NAME : m_strEngineName;
    const std::string level = " · " + std::to_string(m_choice.level) + "级";
    // The level stays whole; a long engine name gives way.
    const std::string gbkLevel = CGbkConverter::ToGbk(level);
    const std::string gbkName =
        CGbkConverter::CutGbk(CGbkConverter::ToGbk(name), NAME_BYTES - gbkLevel.size());
    return CGbkConverter::ToUtf8(gbkName + gbkLevel);
}

PERSON CPracticeTable::BotPerson() const {
    return Player(BOT_ID, BOT_USERNAME, BotNickname(), static_cast<int16_t>(BotSeat()),
                  BOT_PICTURE);
}

CPracticeTable::Changes CPracticeTable::Change(const PracticeChoice& wanted, Colour ownColour,
                                               bool coin) {
    Changes changes;
    if (wanted.level != m_choice.level)
        changes.botLine = "level " + std::to_string(wanted.level);
    if (!(wanted.time == m_choice.time))
        changes.serverLine = "time " + TimeText(wanted.time);
    Colour colour = wanted.colour == PracticeColour::Black ? Colour::Black : Colour::White;
    if (wanted.colour == PracticeColour::Random)
        colour = coin ? Colour::White : Colour::Black;
    changes.exchange = IsSide(ownColour) && colour != ownColour;
    m_choice = wanted;
    return changes;
}

std::optional<uint16_t> CPracticeTable::ListeningPort(const std::string& line) {
    const std::string port = After(line, std::string("listening ") + HOST + ":");
    unsigned value = 0;
    const char* end = port.data() + port.size();
    const auto [stop, error] = std::from_chars(port.data(), end, value);
    if (port.empty() || error != std::errc() || stop != end || value == 0 || value > 65535)
        return std::nullopt;
    return static_cast<uint16_t>(value);
}

CPracticeTable::BotReport CPracticeTable::ReadBotLine(const std::string& line) {
    using Kind = BotReport::Kind;
    const struct {
        const char* start;
        Kind kind;
    } reports[] = {{"engine ready name=", Kind::Ready},
                   {"engine missing", Kind::Missing},
                   {"engine gone", Kind::Gone}};
    for (const auto& report : reports) {
        if (line.compare(0, std::strlen(report.start), report.start) != 0)
            continue;
        std::string text = line.substr(std::strlen(report.start));
        if (report.kind != Kind::Ready && !text.empty() && text.front() == ' ')
            text.erase(0, 1);
        // Only the reports themselves, not a line that merely begins like one.
        if (report.kind == Kind::Ready || text.empty() || line[std::strlen(report.start)] == ' ')
            return {report.kind, text};
    }
    return {};
}

bool CPracticeTable::NamesBot(uint16_t type, const uint8_t* body, uint32_t length) {
    if (body == nullptr || (type != MSG_TABLE_PERSONS && type != MSG_USER_ENTER) ||
        length % CPersonRecord::SIZE != 0)
        return false;
    for (uint32_t at = 0; at < length; at += CPersonRecord::SIZE) {
        const PERSON person = CPersonRecord::FromWire(body + at);
        if (person.id == BOT_ID && person.status == WireValue(TableRole::Player))
            return true;
    }
    return false;
}

} // namespace kelo
