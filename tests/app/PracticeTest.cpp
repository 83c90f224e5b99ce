// SPDX-License-Identifier: GPL-3.0-or-later
// A game against the computer: what its command line asks for, what its dialog asks and
// chooses, and its table (the people, the hall's calls, the server's and the bot's command
// lines, what they are told between games and how their output is read).
#include "app/CCommandLine.h"
#include "app/CGameContext.h"
#include "app/CPracticeDialogModel.h"
#include "app/CPracticeTable.h"
#include "app/StartGame.h"
#include "base/CGbkConverter.h"
#include "link/MessageTypes.h"
#include "table/CPlayerManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelo {
namespace {

using Action = CCommandLine::Action;
using Field = CPracticeDialogModel::Field;

std::string Shown(const std::vector<std::string>& args) {
    std::string shown;
    for (const std::string& a : args)
        shown += "[" + a + "]";
    return shown;
}

// What each command line starts, what the dialog then asks ("lct": level, colour, time) and
// what it chooses when the person only confirms.
TEST(PracticeCommandLineTest, AsksWhatTheOptionsLeaveOut) {
    const struct {
        std::vector<std::string> args;
        std::string asked;
        int level;
        PracticeColour colour;
        PracticeTime time;
        // The time's place in the dialog's list: a time that is none of the presets is added.
        size_t timeIndex;
        size_t presets;
        std::string engine;
    } cases[] = {
        {{"--practice"}, "lct", 4, PracticeColour::White, {1200, 60, 10}, 1, 3, ""},
        {{"--practice", "--level", "2"}, "ct", 2, PracticeColour::White, {1200, 60, 10}, 1, 3, ""},
        {{"--practice", "--level=7", "--colour", "black", "--time", "300,20,2"},
         "",
         7,
         PracticeColour::Black,
         {300, 20, 2},
         0,
         3,
         ""},
        // The options alone mean a game against the computer.
        {{"--colour=random", "--time", "600,30,5", "--level", "8"},
         "",
         8,
         PracticeColour::Random,
         {600, 30, 5},
         3,
         4,
         ""},
        {{"--color", "BLACK"}, "lt", 4, PracticeColour::Black, {1200, 60, 10}, 1, 3, ""},
        {{"--time=1800,60,10", "--engine", "/opt/sf/stockfish -q"},
         "lc",
         4,
         PracticeColour::White,
         {1800, 60, 10},
         2,
         3,
         "/opt/sf/stockfish -q"},
    };
    for (const auto& c : cases) {
        const CCommandLine line = CCommandLine::Parse(c.args);
        ASSERT_EQ(line.m_action, Action::Practice) << Shown(c.args) << " " << line.m_strError;
        EXPECT_EQ(line.m_practice.engineCommand, c.engine) << Shown(c.args);
        const CPracticeDialogModel model(line.m_practice);
        std::string asked;
        for (const auto& [field, letter] :
             {std::pair{Field::Level, 'l'}, {Field::Colour, 'c'}, {Field::Time, 't'}}) {
            if (model.Asks(field))
                asked += letter;
        }
        EXPECT_EQ(asked, c.asked) << Shown(c.args);
        EXPECT_EQ(model.AsksAnything(), !c.asked.empty()) << Shown(c.args);
        EXPECT_EQ(model.TimePresets().size(), c.presets) << Shown(c.args);
        EXPECT_EQ(model.TimeIndex(), c.timeIndex) << Shown(c.args);
        const PracticeChoice choice = model.Choice();
        EXPECT_EQ(choice.level, c.level) << Shown(c.args);
        EXPECT_EQ(choice.colour, c.colour) << Shown(c.args);
        EXPECT_EQ(choice.time, c.time) << Shown(c.args);
    }
}

TEST(PracticeCommandLineTest, BadValuesAreOneClearLine) {
    const struct {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{"--practice", "--level", "9"}, "--level needs a level from 1 to 8, not '9'"},
        {{"--level=0"}, "--level needs a level from 1 to 8, not '0'"},
        {{"--level", "+4"}, "--level needs a level from 1 to 8, not '+4'"},
        {{"--practice", "--level"}, "--level needs a value"},
        {{"--colour", "green"}, "--colour needs white, black or random, not 'green'"},
        {{"--time", "1200,60"}, "--time needs TOTAL,PACE,ADD"},
        {{"--time", "0,60,10"}, "--time needs TOTAL,PACE,ADD"},
        {{"--time", "1200,0,10"}, "--time needs TOTAL,PACE,ADD"},
        {{"--time", "1200,60,10,5"}, "--time needs TOTAL,PACE,ADD"},
        {{"--time", "1200, 60,10"}, "--time needs TOTAL,PACE,ADD"},
        {{"--time", "40000,60,10"}, "--time needs TOTAL,PACE,ADD"},
        {{"--time", "1200,60,-1"}, "--time needs TOTAL,PACE,ADD"},
        {{"--engine", " "}, "--engine needs the command of a UCI engine"},
        {{"--practice", "--local"}, "--practice and its options do not go with --local"},
        {{"--local", "--level", "3"}, "--practice and its options do not go with --local"},
        {{"--practice", "game.che"}, "a record is continued on the local table"},
    };
    for (const auto& c : cases) {
        const CCommandLine line = CCommandLine::Parse(c.args);
        EXPECT_EQ(line.m_action, Action::Error) << Shown(c.args);
        EXPECT_EQ(line.m_strError.rfind(c.error, 0), 0u)
            << Shown(c.args) << " said: " << line.m_strError;
        EXPECT_EQ(line.m_strError.find('\n'), std::string::npos) << Shown(c.args);
    }
}

TEST(PracticeCommandLineTest, LocalTableAndHelp) {
    EXPECT_EQ(CCommandLine::Parse({"--local"}).m_action, Action::Direct);
    const CCommandLine record = CCommandLine::Parse({"--local", "/tmp/my", "game.che"});
    EXPECT_EQ(record.m_action, Action::Direct);
    EXPECT_EQ(record.m_strRecordPath, "/tmp/my game.che");
    EXPECT_EQ(CCommandLine::Parse({"--practice", "--help"}).m_action, Action::Help);
    // The hall's switch still wins over the user's options.
    EXPECT_EQ(CCommandLine::Parse({"--practice", "-Embedding"}).m_action, Action::Embedding);
}

TEST(PracticeDialogModelTest, BetweenGamesEverythingIsAskedFromTheChoiceInForce) {
    const PracticeChoice current{6, PracticeColour::Random, {90, 15, 0}};
    CPracticeDialogModel model(current);
    EXPECT_TRUE(model.Asks(Field::Level) && model.Asks(Field::Colour) && model.Asks(Field::Time));
    EXPECT_EQ(model.Level(), 6);
    ASSERT_EQ(model.TimePresets().size(), 4u);
    EXPECT_EQ(model.TimeIndex(), 3u);
    EXPECT_EQ(CPracticeDialogModel::PresetLabel(model.TimePresets()[3]),
              "自定  90秒 每步15秒 加0秒");

    // Out of range: ignored.
    model.SetLevel(0);
    model.SetLevel(9);
    model.SetTimeIndex(4);
    EXPECT_EQ(model.Choice().level, 6);
    EXPECT_EQ(model.Choice().time, (PracticeTime{90, 15, 0}));
    model.SetLevel(1);
    model.SetColour(PracticeColour::Black);
    model.SetTimeIndex(0);
    const PracticeChoice chosen = model.Choice();
    EXPECT_EQ(chosen.level, 1);
    EXPECT_EQ(chosen.colour, PracticeColour::Black);
    EXPECT_EQ(chosen.time, (PracticeTime{300, 20, 2}));

    EXPECT_EQ(CPracticeDialogModel::PresetLabel(model.TimePresets()[1]),
              "标准  20分钟 每步60秒 加10秒");
    EXPECT_EQ(CPracticeDialogModel::LevelLabel(4) + CPracticeDialogModel::LevelHint(4), "4级中等");
    EXPECT_EQ(CPracticeDialogModel::LevelHint(8), "全力");
    EXPECT_EQ(CPracticeDialogModel::ColourLabel(PracticeColour::Random), "随机");
}

// The person seated as a hall seats a player: both people, the own user, a player at the
// server on the practice desk.
TEST(PracticeTableTest, SeatsThePersonAsAHallDoes) {
    CPracticeTable table({4, PracticeColour::Black, {300, 20, 2}}, "me", true);
    EXPECT_EQ(table.PersonSeat(), 1);
    CGameContext context;
    StartGame hall(context, nullptr);
    table.Seat(hall, 45000);
    const CPlayerManager& people = context.PlayerManager();
    EXPECT_EQ(people.OwnId(), CPracticeTable::PERSON_ID);
    EXPECT_EQ(people.GetOwnSeat(), 1);
    EXPECT_EQ(people.SeatCount(), 2);
    const CPlayerRecord* bot = people.GetPersonBySeat(0);
    ASSERT_NE(bot, nullptr);
    EXPECT_EQ(bot->person.id, CPracticeTable::BOT_ID);
    EXPECT_EQ(CGbkConverter::ToUtf8(CGbkConverter::FromField(bot->person.nickname)),
              "电脑棋手 · 4级");
    EXPECT_EQ(bot->person.status, 4);
    EXPECT_FALSE(context.Mode().LocalMode());
    EXPECT_FALSE(context.Mode().IsWatcher());
    EXPECT_EQ(context.Hall().gameServerHost, "127.0.0.1");
    EXPECT_EQ(static_cast<uint16_t>(context.Hall().gameServerPort), 45000);
    EXPECT_EQ(context.Hall().deskNo, CPracticeTable::DESK);
    EXPECT_EQ(context.Hall().listHeadLength, 0u) << "the list keeps its own titles";
}

TEST(PracticeTableTest, TheProgramsCommandLines) {
    const CPracticeTable white({4, PracticeColour::White, {300, 20, 2}}, "Li: Lei", false);
    EXPECT_EQ(white.ServerArguments(),
              (std::vector<std::string>{"--port", "0", "--time", "300,20,2", "--control-stdin"}));
    EXPECT_EQ(white.BotArguments(41234, ""),
              (std::vector<std::string>{"--server", "127.0.0.1:41234", "--desk", "1", "--me",
                                        "kelo-bot", "--player", "1:player:Li_ Lei:0", "--player",
                                        "2:kelo-bot:电脑棋手:1", "--engine", "--level", "4",
                                        "--control-stdin"}));
    const CPracticeTable random({8, PracticeColour::Random, {300, 20, 2}}, "", false);
    EXPECT_EQ(random.PersonSeat(), 1) << "the coin said Black";
    EXPECT_EQ(random.PersonNickname(), "棋手");
    const auto args = random.BotArguments(5000, "/usr/games/stockfish");
    const std::vector<std::string> tail(args.end() - 5, args.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"--engine", "/usr/games/stockfish", "--level", "8",
                                              "--control-stdin"}));
    EXPECT_EQ(args[9], "2:kelo-bot:电脑棋手:0");
}

TEST(PracticeTableTest, TheBotsNameCarriesTheLevelInForce) {
    CPracticeTable table({4, PracticeColour::White, {1200, 60, 10}}, "me", true);
    EXPECT_EQ(table.BotNickname(), "电脑棋手 · 4级");
    table.SetEngineName("Stockfish 15.1");
    EXPECT_EQ(table.BotNickname(), "Stockfish 15.1 · 4级");
    table.Change({7, PracticeColour::White, {1200, 60, 10}}, Colour::White, true);
    EXPECT_EQ(table.BotNickname(), "Stockfish 15.1 · 7级");
    // A long name gives way to the level, and the whole fits the record's 33 bytes.
    table.SetEngineName(std::string(40, 'x'));
    const std::string name = table.BotNickname();
    EXPECT_EQ(name.substr(name.size() - std::string(" · 7级").size()), " · 7级");
    EXPECT_LE(CGbkConverter::ToGbk(name).size(), 33u);
    const PERSON bot = table.BotPerson();
    EXPECT_EQ(CGbkConverter::ToUtf8(CGbkConverter::FromField(bot.nickname)), name);
    EXPECT_EQ(bot.seatno, 1);
}

// Between games: the level goes to the bot, the clocks to the server, and a colour that is not
// the person's present one is a colour exchange.
TEST(PracticeTableTest, WhatChangesBetweenGames) {
    const PracticeTime standard{1200, 60, 10};
    const struct {
        const char* name;
        PracticeChoice wanted;
        Colour own;
        bool coin;
        std::string botLine;
        std::string serverLine;
        bool exchange;
    } cases[] = {
        {"nothing", {4, PracticeColour::White, standard}, Colour::White, true, "", "", false},
        {"level", {2, PracticeColour::White, standard}, Colour::White, true, "level 2", "", false},
        {"time",
         {4, PracticeColour::White, {300, 20, 2}},
         Colour::White,
         true,
         "",
         "time 300,20,2",
         false},
        {"colour", {4, PracticeColour::Black, standard}, Colour::White, true, "", "", true},
        {"already black", {4, PracticeColour::Black, standard}, Colour::Black, true, "", "", false},
        {"random black", {4, PracticeColour::Random, standard}, Colour::White, false, "", "", true},
        {"random white", {4, PracticeColour::Random, standard}, Colour::White, true, "", "", false},
        {"no colour yet", {4, PracticeColour::Black, standard}, Colour::None, true, "", "", false},
    };
    for (const auto& c : cases) {
        CPracticeTable table({4, PracticeColour::White, standard}, "me", true);
        const CPracticeTable::Changes changes = table.Change(c.wanted, c.own, c.coin);
        EXPECT_EQ(changes.botLine, c.botLine) << c.name;
        EXPECT_EQ(changes.serverLine, c.serverLine) << c.name;
        EXPECT_EQ(changes.exchange, c.exchange) << c.name;
        EXPECT_EQ(table.Choice().level, c.wanted.level) << c.name;
        EXPECT_EQ(table.Choice().time, c.wanted.time) << c.name;
    }
}

TEST(PracticeTableTest, ReadsTheProgramsOutput) {
    EXPECT_EQ(CPracticeTable::ListeningPort("listening 127.0.0.1:40123"), 40123);
    for (const char* line :
         {"listening 127.0.0.1:", "listening 127.0.0.1:0", "listening 127.0.0.1:70000",
          "listening 127.0.0.1:12x", "client 1 id=1 entered desk 1", "listening 10.0.0.1:4000"})
        EXPECT_FALSE(CPracticeTable::ListeningPort(line)) << line;

    using Kind = CPracticeTable::BotReport::Kind;
    const struct {
        const char* line;
        Kind kind;
        const char* text;
    } cases[] = {
        {"engine ready name=Stockfish 15.1", Kind::Ready, "Stockfish 15.1"},
        {"engine missing 没有找到国际象棋引擎。", Kind::Missing, "没有找到国际象棋引擎。"},
        {"engine gone no uciok within 10 s", Kind::Gone, "no uciok within 10 s"},
        {"engine missing", Kind::Missing, ""},
        {"engine missingness", Kind::Other, ""},
        {"recv 3106 persons=2", Kind::Other, ""},
        {"chat engine ready name=x", Kind::Other, ""},
    };
    for (const auto& c : cases) {
        const CPracticeTable::BotReport report = CPracticeTable::ReadBotLine(c.line);
        EXPECT_EQ(report.kind, c.kind) << c.line;
        EXPECT_EQ(report.text, c.text) << c.line;
    }
}

// The people the server announces, as 256-byte records written out by hand: id at 0 and status
// at 152, network order.
TEST(PracticeTableTest, TheBotIsAtTheTableWhenTheServerNamesIt) {
    auto record = [](uint32_t id, uint16_t status) {
        std::vector<uint8_t> bytes(256, 0);
        bytes[0] = static_cast<uint8_t>(id >> 24);
        bytes[1] = static_cast<uint8_t>(id >> 16);
        bytes[2] = static_cast<uint8_t>(id >> 8);
        bytes[3] = static_cast<uint8_t>(id);
        bytes[152] = static_cast<uint8_t>(status >> 8);
        bytes[153] = static_cast<uint8_t>(status);
        return bytes;
    };
    std::vector<uint8_t> both = record(1, 4);
    const std::vector<uint8_t> bot = record(2, 4);
    both.insert(both.end(), bot.begin(), bot.end());
    const auto size = [](const std::vector<uint8_t>& b) { return static_cast<uint32_t>(b.size()); };
    EXPECT_TRUE(CPracticeTable::NamesBot(MSG_TABLE_PERSONS, both.data(), size(both)));
    EXPECT_TRUE(CPracticeTable::NamesBot(MSG_USER_ENTER, bot.data(), size(bot)));
    EXPECT_FALSE(CPracticeTable::NamesBot(MSG_TABLE_PERSONS, both.data(), 256));
    EXPECT_FALSE(CPracticeTable::NamesBot(MSG_TABLE_PERSONS, both.data(), 300));
    EXPECT_FALSE(CPracticeTable::NamesBot(MSG_MOVE, bot.data(), size(bot)));
    const std::vector<uint8_t> watcher = record(2, 5);
    EXPECT_FALSE(CPracticeTable::NamesBot(MSG_USER_ENTER, watcher.data(), size(watcher)));
}

} // namespace
} // namespace kelo
