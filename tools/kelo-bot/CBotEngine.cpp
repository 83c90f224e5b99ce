// SPDX-License-Identifier: GPL-3.0-or-later
#include "CBotEngine.h"

#include "base/CGbkConverter.h"
#include "chess/CBaseBoard.h"
#include "chess/CBaseDiagram.h"
#include "chess/CCoordinateMove.h"
#include "engine/CEngineLocator.h"
#include "link/PERSON.h"
#include "table/CMainViewClock.h"
#include "table/CPlayerTimeControl.h"

#include <QEventLoop>
#include <QSocketNotifier>

#include <chrono>
#include <cstdlib>
#include <unistd.h>

namespace kelo {

namespace {

uint64_t NowMs() {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

// A reason on one line.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

// The table of levels under the option's text.
std::string Indented(const std::string& table) {
    std::string text;
    size_t start = 0;
    for (size_t end; (end = table.find('\n', start)) != std::string::npos; start = end + 1)
        text += std::string(19, ' ') + table.substr(start, end + 1 - start);
    return text;
}

std::string LevelText(int level) {
    return std::to_string(level) + "级";
}

// The square in the other frame when Black is at the bottom: the board is turned half round.
CBasePoint Turned(CBasePoint p, const CBaseBoard& board) {
    return board.BottomColour() == Colour::Black ? CBasePoint(7 - p.x, 7 - p.y, p.z) : p;
}

} // namespace

std::string CBotEngine::Usage() {
    return "\n"
           "Playing with a chess engine (UCI):\n"
           "  --engine [COMMAND]   play the own colour's moves with a chess engine, game after\n"
           "                       game (not with --moves or --local). COMMAND is the engine's\n"
           "                       program and its arguments, split at spaces; without it\n"
           "                       stockfish on the PATH, then /usr/games/stockfish. The engine\n"
           "                       starts first: once ready the bot prints \"engine ready\n"
           "                       name=NAME\", takes the nickname \"NAME · N级\" and enters the\n"
           "                       desk. Without an engine it prints \"engine missing WHY\", and\n"
           "                       \"engine gone WHY\" when the engine fails its handshake; both\n"
           "                       exit with status 3. It follows the table's clocks, never\n"
           "                       plays a fifth check in a row unless it mates, greets the\n"
           "                       table once in the chat and agrees to take-backs, exchanges,\n"
           "                       seals, resumes and leaving, to a draw only when its engine's\n"
           "                       last score for it is at most even (--answer and --answer-to\n"
           "                       still win). An engine that fails later is said in the chat,\n"
           "                       \"engine gone WHY\" is printed, the game in progress is\n"
           "                       resigned and the engine started again for the next game\n"
           "                       (\"engine ready again\"); the third failure at a table, or\n"
           "                       one it cannot start again, makes the bot leave with status 3.\n"
           "  --level N            the engine's strength from 1 (a beginner who blunders) to 8\n"
           "                       (the engine at full strength), default 4:\n" +
           Indented(EngineLevel::Table()) +
           "                       Skill Level only where the engine offers it; \"by clock\":\n"
           "                       the engine plans its time from the clocks. A level that\n"
           "                       resigns does so after three of its own moves in a row at\n"
           "                       -1000 centipawns or worse, or with a mate against it.\n"
           "  --control-stdin      read commands on standard input, one a line: \"level N\"\n"
           "                       plays from the next game on at level N (said in the chat;\n"
           "                       printed as \"control: level N from the next game\"); any\n"
           "                       other line is printed as \"control: not understood: LINE\"\n";
}

CBotEngine::CBotEngine(IEventLoop& loop, std::function<void(const std::string&)> print)
    : m_print(std::move(print)), m_process(loop), m_player(m_process, loop, *this, NowMs) {}

CBotEngine::~CBotEngine() {
    m_player.Quit();
}

int CBotEngine::Start(const std::string& configured, int level) {
    const CEngineLocator::Result found = CEngineLocator().Locate(configured);
    if (!found.command) {
        m_print("engine missing " + OneLine(found.message));
        return EXIT_ENGINE;
    }
    m_command = found.command;
    m_player.Start(found.command->program, found.command->args, level);
    QEventLoop wait;
    m_onSettled = [&wait] { wait.quit(); };
    if (!m_bReady && !m_player.Gone())
        wait.exec();
    m_onSettled = nullptr;
    if (!m_bReady) {
        m_print("engine gone " + OneLine(m_strGoneWhy));
        return EXIT_ENGINE;
    }
    m_print("engine ready name=" + OneLine(m_player.Name()));
    return -1;
}

bool CBotEngine::Restart() {
    if (!m_command || m_bRestarting || !m_player.Gone())
        return false;
    m_bRestarting = true;
    Abandon();
    m_nGame = -1;
    m_player.Start(m_command->program, m_command->args, m_player.NextLevel());
    return true;
}

std::string CBotEngine::Nickname() const {
    const std::string level = CGbkConverter::ToGbk(" · " + LevelText(m_player.Level()));
    const size_t room = sizeof(PERSON::nickname) - 1;
    return CGbkConverter::CutGbk(CGbkConverter::ToGbk(m_player.Name()), room - level.size()) +
           level;
}

std::string CBotEngine::Greeting() const {
    return "你好！我是 " + m_player.Name() + "（" + LevelText(m_player.Level()) +
           "）。祝你下得开心！";
}

std::optional<CBotEngine::Move> CBotEngine::MoveFor(int game, CBaseBoard& board, Colour colour,
                                                    const CMainViewClock& clock,
                                                    const CPlayerTimeControl& time) {
    if (m_player.Gone())
        return std::nullopt;
    std::vector<std::string> moves;
    for (const MoveRecord& move : board.Position().Moves())
        moves.push_back(CCoordinateMove::Format(Turned(move.from, board), Turned(move.to, board),
                                                move.special));
    if (m_asked && *m_asked == moves)
        return m_answer;
    BeginGame(game);
    EngineTurn turn;
    turn.position.moves = moves;
    turn.colour = colour;
    turn.clock.ownLeftMs = clock.RemainingTotal(true) * 1000;
    turn.clock.otherLeftMs = clock.RemainingTotal(false) * 1000;
    turn.clock.moveLeftMs = clock.RemainingMove(true) * 1000;
    turn.clock.incrementMs = time.m_nPaceAddedTime * 1000;
    turn.checkRun = board.CheckRun(colour);
    m_answer.reset();
    // A position without a move (mated or stalemated, the result still on its way) is not
    // asked about.
    if (!m_player.Play(turn)) {
        m_asked.reset();
        return std::nullopt;
    }
    m_asked = moves;
    return std::nullopt;
}

void CBotEngine::BeginGame(int game) {
    if (game == m_nGame || m_player.Gone())
        return;
    m_nGame = game;
    Abandon();
    m_player.NewGame();
}

CCoordinateMove CBotEngine::OnBoard(const CCoordinateMove& move, const CBaseBoard& board) {
    CCoordinateMove turned = move;
    turned.from = Turned(move.from, board);
    turned.to = Turned(move.to, board);
    return turned;
}

void CBotEngine::Abandon() {
    m_player.Abandon();
    m_asked.reset();
    m_answer.reset();
}

void CBotEngine::OnPlayerReady(const std::string&) {
    if (m_bRestarting) {
        m_bRestarting = false;
        if (onRestarted)
            onRestarted(true, {});
        return;
    }
    m_bReady = true;
    if (m_onSettled)
        m_onSettled();
}

void CBotEngine::OnPlayerMove(const EngineAnswer& answer) {
    if (!m_asked)
        return;
    if (answer.source == EngineAnswer::Source::Own)
        m_print("engine own move " + answer.text);
    m_answer = Move{answer.text, answer.resign};
    if (onAnswer)
        onAnswer();
}

void CBotEngine::OnPlayerGone(const std::string& why) {
    m_strGoneWhy = why;
    if (m_bRestarting) {
        m_bRestarting = false;
        if (onRestarted)
            onRestarted(false, OneLine(why));
        return;
    }
    if (!m_bReady) {
        if (m_onSettled)
            m_onSettled();
        return;
    }
    m_player.Quit();
    m_asked.reset();
    m_answer.reset();
    if (onGone)
        onGone(OneLine(why));
}

void CBotEngine::ReadControlInput() {
    m_pControl = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(m_pControl.get(), &QSocketNotifier::activated, [this] { ReadControl(); });
}

void CBotEngine::ReadControl() {
    char buffer[512];
    const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (count <= 0) {
        // The end of the input: nothing more will come.
        m_pControl->setEnabled(false);
        return;
    }
    m_strControl.append(buffer, static_cast<size_t>(count));
    for (size_t end; (end = m_strControl.find('\n')) != std::string::npos;) {
        std::string line = m_strControl.substr(0, end);
        m_strControl.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        Command(line);
    }
}

void CBotEngine::Command(const std::string& line) {
    const std::string prefix = "level ";
    char* end = nullptr;
    const char* number = line.c_str() + prefix.size();
    const long level =
        line.compare(0, prefix.size(), prefix) == 0 ? std::strtol(number, &end, 10) : 0;
    if (end == number || end == nullptr || *end != '\0' || level < EngineLevel::LOWEST ||
        level > EngineLevel::HIGHEST) {
        m_print("control: not understood: " + line);
        return;
    }
    m_player.SetLevel(static_cast<int>(level));
    m_print("control: level " + std::to_string(level) + " from the next game");
    if (say)
        say("好的，从下一局起我按" + LevelText(static_cast<int>(level)) + "下。");
}

} // namespace kelo
