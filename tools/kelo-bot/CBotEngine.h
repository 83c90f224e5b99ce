// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/CEngineLocator.h"
#include "engine/CEnginePlayer.h"
#include "ports/qt/CQtEngineProcess.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QSocketNotifier;

namespace kelo {

class CBaseBoard;
class CMainViewClock;
class CPlayerTimeControl;
struct CCoordinateMove;

// kelo-bot's chess engine: the computer player on the engine's process, started before the bot
// enters its desk, the moves it finds for the table's positions, the level and its commands on
// standard input. What the bot says and does about it (the chat, resigning, leaving) is the
// bot's; this class tells it through the callbacks.
class CBotEngine : public IEnginePlayerObserver {
public:
    // The exit status when the engine is missing or fails.
    static constexpr int EXIT_ENGINE = 3;
    // The help's part about the engine, with the table of levels.
    static std::string Usage();

    struct Move {
        // Coordinate form (e2e4, e7e8q), White at the bottom.
        std::string text;
        // The game is clearly lost: resign rather than move.
        bool resign = false;
    };

    CBotEngine(IEventLoop& loop, std::function<void(const std::string&)> print);
    ~CBotEngine() override;
    CBotEngine(const CBotEngine&) = delete;
    CBotEngine& operator=(const CBotEngine&) = delete;

    // Finds the engine (the configured command, else stockfish on the PATH, else Debian's
    // place), starts it and waits for its handshake: "engine ready name=NAME" and -1, or
    // "engine missing WHY" / "engine gone WHY" and EXIT_ENGINE.
    int Start(const std::string& configured, int level);
    // "NAME · N级" in GBK, cut to fit a person's nickname: the level stays whole.
    std::string Nickname() const;
    // The chat's greeting, once a table.
    std::string Greeting() const;

    // A game begins at the table (game counts the games of the table): the engine is told, and
    // a level asked for since takes effect.
    void BeginGame(int game);
    // The move for the table's position: the engine is asked the first time (its answer then
    // comes through onAnswer), and the answer is given for that position from then on. A game
    // not begun yet (joined under way) begins here.
    std::optional<Move> MoveFor(int game, CBaseBoard& board, Colour colour,
                                const CMainViewClock& clock, const CPlayerTimeControl& time);
    // The move's squares on the table's board (turned round when Black is at its bottom).
    static CCoordinateMove OnBoard(const CCoordinateMove& move, const CBaseBoard& board);
    // The position changed otherwise than by a move, or the game ended: no answer is wanted.
    void Abandon();
    // Starts the engine again after it failed at the table, with the level in force; the
    // answer comes through onRestarted. false when there is nothing to restart.
    bool Restart();
    bool AcceptsDraw() const { return m_player.AcceptsDraw(); }
    bool Gone() const { return m_player.Gone(); }

    // Reads "level N" lines on standard input (from the next game on).
    void ReadControlInput();

    // The engine answered the position asked; the bot may move now.
    std::function<void()> onAnswer;
    // The engine failed after it was ready; told once.
    std::function<void(const std::string& why)> onGone;
    // A restart ended: ready again (ok), or why not.
    std::function<void(bool ok, const std::string& why)> onRestarted;
    // A line for the table's chat.
    std::function<void(const std::string& text)> say;

    // IEnginePlayerObserver
    void OnPlayerReady(const std::string& name) override;
    void OnPlayerMove(const EngineAnswer& answer) override;
    void OnPlayerGone(const std::string& why) override;

private:
    void ReadControl();
    void Command(const std::string& line);

    std::function<void(const std::string&)> m_print;
    CQtEngineProcess m_process;
    CEnginePlayer m_player;
    // Set while Start waits for the handshake.
    std::function<void()> m_onSettled;
    bool m_bReady = false;
    // The command found at the start, for a restart.
    std::optional<EngineCommand> m_command;
    bool m_bRestarting = false;
    std::string m_strGoneWhy;
    // The game the engine was last told of.
    int m_nGame = -1;
    // The position asked about, and the answer for it once it came.
    std::optional<std::vector<std::string>> m_asked;
    std::optional<Move> m_answer;
    std::unique_ptr<QSocketNotifier> m_pControl;
    std::string m_strControl;
};

} // namespace kelo
