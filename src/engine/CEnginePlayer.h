// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/CEnginePosition.h"
#include "engine/CUciEngine.h"
#include "engine/EngineClockPlan.h"
#include "engine/EngineLevel.h"
#include "ports/IEngineProcess.h"
#include "ports/IEventLoop.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelo {

// One move to find: the position, the table's clocks and the mover's current run of checks.
struct EngineTurn {
    UciPosition position;
    // The colour to play; it must be the position's side to move.
    Colour colour = Colour::White;
    EngineClock clock;
    // How many checks in a row the colour has given with its last moves. The table calls a
    // fifth check in a row a draw unless it mates, a rule engines do not know.
    int checkRun = 0;
};

// A move found for a turn. It is always legal in the turn's position.
struct EngineAnswer {
    enum class Source {
        // The engine's answer.
        Engine,
        // The engine's answer to a second search that left out the moves that would have been
        // a fifth check in a row.
        Researched,
        // A move of the player's own: the engine gave none in time, or none that fits.
        Own,
    };
    MoveRecord move;
    // Coordinate form: e2e4, e7e8q.
    std::string text;
    Source source = Source::Engine;
    // The game is clearly lost (at a level that resigns): resign rather than play the move.
    bool resign = false;
};

// What the player tells its owner.
class IEnginePlayerObserver {
public:
    virtual ~IEnginePlayerObserver() = default;
    // The engine has answered its handshake and takes games.
    virtual void OnPlayerReady(const std::string& name) = 0;
    // The answer to Play, exactly once per turn that was not abandoned.
    virtual void OnPlayerMove(const EngineAnswer& answer) = 0;
    // The engine is missing, crashed or no longer answers; told once. A turn in progress gets
    // no answer, and nothing is played any more.
    virtual void OnPlayerGone(const std::string& why) = 0;
};

// A computer player: a UCI engine at a level, kept to the table's clocks and to its rule of
// five checks. It runs one engine for as long as it lives (a table), and a new game begins
// with NewGame. It keeps the engine's last score, from its own side, to agree to draws and to
// resign games that are clearly lost.
class CEnginePlayer : public IUciEngineObserver, public ITimerSink {
public:
    // Milliseconds of a monotonic clock.
    using Clock = std::function<uint64_t()>;

    // A score this bad, or a mate against it, on this many of its own moves in a row makes a
    // level that resigns give up.
    static constexpr int LOST_CENTIPAWNS = -1000;
    static constexpr int LOST_MOVES = 3;
    // A search again without the fifth check needs at least this long before "stop" is due;
    // with less the player picks a move of its own among the others.
    static constexpr int LEAST_RESEARCH_MS = 100;
    // An engine that did not answer "stop" on this many turns in a row counts as gone.
    static constexpr int SILENT_TURNS = 3;

    CEnginePlayer(IEngineProcess& process, IEventLoop& loop, IEnginePlayerObserver& observer,
                  Clock now);
    ~CEnginePlayer() override;
    CEnginePlayer(const CEnginePlayer&) = delete;
    CEnginePlayer& operator=(const CEnginePlayer&) = delete;

    // Starts the engine at the level.
    void Start(const std::string& program, const std::vector<std::string>& args, int level);
    bool Ready() const { return m_engine.Ready(); }
    bool Gone() const { return m_bGone; }
    const std::string& Name() const { return m_engine.Name(); }

    // The level in force, and the one the next game is played at.
    int Level() const { return m_nLevel; }
    int NextLevel() const { return m_nNextLevel; }
    // Takes effect at the next NewGame.
    void SetLevel(int level);

    // A new game: any turn in progress is dropped, the engine told, the new level set, the
    // scores forgotten.
    void NewGame();
    // Finds a move for the turn; the answer comes through the observer, never from inside
    // this call. A turn still in progress is dropped. false (and no answer) when the engine is
    // gone or was not started, or the turn does not fit: a position that is not legal, the
    // wrong colour, no legal move.
    bool Play(const EngineTurn& turn);
    bool Thinking() const { return m_bTurn; }
    // Drops the turn in progress (a take-back, the game's end): no answer comes for it.
    void Abandon();
    // Ends the engine; nothing is told after it.
    void Quit();

    // The engine's score at its last move, from the player's side; none before its first.
    const std::optional<UciScore>& LastScore() const { return m_lastScore; }
    // Whether a draw offered now is welcome: the last score is known and at most even.
    bool AcceptsDraw() const;
    // Whether a score is a clearly lost game.
    static bool IsLost(const UciScore& score);

    // IUciEngineObserver
    void OnEngineReady(const std::string& name) override;
    void OnEngineInfo(const UciInfo& info) override;
    void OnBestMove(const std::optional<MoveRecord>& move, const std::string& text) override;
    void OnBestMoveRefused(const std::string& text, const std::string& why) override;
    void OnEngineGone(const std::string& why) override;
    // ITimerSink
    void OnTimer(uint32_t id) override;

private:
    enum class Phase { Searching, Researching };

    // Whether the move would be the turn's fifth check in a row without mating.
    bool FifthCheck(const CEnginePosition::Move& move) const;
    void SendSearch();
    // Asks for the move again without the moves that would be a fifth check in a row.
    void Research();
    // why goes to the log.
    void PlayOwnMove(const std::string& why);
    void Answer(const CEnginePosition::Move& move, EngineAnswer::Source source);
    void EndTurn();
    void SetSkill(const EngineLevel& level);
    int Elapsed() const;

    IEngineProcess& m_process;
    IEventLoop& m_loop;
    IEnginePlayerObserver& m_observer;
    Clock m_now;
    CUciEngine m_engine;
    bool m_bStarted = false;
    bool m_bGone = false;
    int m_nLevel = EngineLevel::DEFAULT;
    int m_nNextLevel = EngineLevel::DEFAULT;

    // The turn in progress.
    bool m_bTurn = false;
    EngineTurn m_turn;
    CEnginePosition m_position;
    EngineClockPlan m_plan;
    Phase m_phase = Phase::Searching;
    uint64_t m_nTurnStart = 0;
    // The search waits for the engine (its handshake still running).
    bool m_bSearchPending = false;
    // The score of the turn's search so far.
    std::optional<UciScore> m_turnScore;
    // "stop" was sent in this turn.
    bool m_bStopSent = false;

    std::optional<UciScore> m_lastScore;
    // Own moves in a row whose score was a lost game.
    int m_nLostMoves = 0;
    // Turns in a row on which the engine did not even answer "stop".
    int m_nSilentTurns = 0;
};

} // namespace kelo
