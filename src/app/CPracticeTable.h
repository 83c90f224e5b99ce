// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/PracticeChoice.h"
#include "base/TableTypes.h"
#include "link/PERSON.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelo {

class StartGame;

// A game against the computer as a table of the reference server: the person and kelo-bot, which
// plays a chess engine, at one desk of a server of their own. This is the hall's part of it (who
// sits where, under which names, and the hall's calls that seat the person), what the server and
// the bot are started with and told between games, and how their output is read. The person's
// seat gives the colour: seat 0 moves first, White.
class CPracticeTable {
public:
    static constexpr uint16_t DESK = 1;
    static constexpr uint32_t PERSON_ID = 1;
    static constexpr uint32_t BOT_ID = 2;
    static constexpr const char* PERSON_USERNAME = "player";
    static constexpr const char* BOT_USERNAME = "kelo-bot";
    // The bot's name until its engine has named itself.
    static constexpr const char* BOT_NAME = "电脑棋手";
    static constexpr const char* HOST = "127.0.0.1";
    // Head pictures, by index in the hall's set.
    static constexpr int16_t PERSON_PICTURE = 11;
    static constexpr int16_t BOT_PICTURE = 6;
    // What the table says while the engine starts, and once the bot has sat down.
    static constexpr const char* STARTING = "电脑棋手启动中……";
    static constexpr const char* SEATED = "电脑棋手已入座：";

    // A random colour is decided by the coin: true, White.
    CPracticeTable(const PracticeChoice& choice, const std::string& personNickname, bool coin);

    const PracticeChoice& Choice() const { return m_choice; }
    uint16_t PersonSeat() const { return m_nPersonSeat; }
    uint16_t BotSeat() const { return static_cast<uint16_t>(1 - m_nPersonSeat); }
    // The person's name at the table and on the bot's command line (UTF-8; no ":", at most
    // what the record's field holds).
    const std::string& PersonNickname() const { return m_strPersonNickname; }

    // kelo-table-server's arguments: a free loopback port, the clocks, the control lines on its
    // standard input.
    std::vector<std::string> ServerArguments() const;
    // kelo-bot's: the server's port, the people, the engine (its command; empty, the bot looks
    // for one itself) and the level, the level lines on its standard input.
    std::vector<std::string> BotArguments(uint16_t port, const std::string& engineCommand) const;
    // Seats the person through the hall's calls, as a hall does before ShowWindow: both people,
    // the own user and id, two seats, a player at the server, the desk and the server.
    void Seat(StartGame& hall, uint16_t port) const;

    // The engine's name, once it has said it.
    void SetEngineName(const std::string& name) { m_strEngineName = name; }
    // "Stockfish 15.1 · 4级" with the level in force, as the bot names itself, cut to fit a
    // person's record (UTF-8).
    std::string BotNickname() const;
    // The bot's record as the hall hands it over, with that name.
    PERSON BotPerson() const;

    // Between games: what the bot and the server are told (empty when nothing changes) and
    // whether the person asks for the colours to be exchanged, who plays ownColour now. A
    // random colour takes the coin again. The wanted choice is in force from then on.
    struct Changes {
        std::string botLine;
        std::string serverLine;
        bool exchange = false;
    };
    Changes Change(const PracticeChoice& wanted, Colour ownColour, bool coin);

    // The server's "listening 127.0.0.1:P": the port, else nothing.
    static std::optional<uint16_t> ListeningPort(const std::string& line);
    // What a line of the bot's output says about its engine: "engine ready name=NAME",
    // "engine missing WHY", "engine gone WHY"; the name or the reason in text.
    struct BotReport {
        enum class Kind { Other, Ready, Missing, Gone };
        Kind kind = Kind::Other;
        std::string text;
    };
    static BotReport ReadBotLine(const std::string& line);
    // Whether a message of the person's table says that the bot is at the table: the people of
    // the table (3106) or a newcomer (3107) that is the bot.
    static bool NamesBot(uint16_t type, const uint8_t* body, uint32_t length);

private:
    PracticeChoice m_choice;
    std::string m_strPersonNickname;
    std::string m_strEngineName;
    uint16_t m_nPersonSeat = 0;
};

} // namespace kelo
