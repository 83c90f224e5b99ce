// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/MoveRecord.h"
#include "engine/CEnginePosition.h"
#include "ports/IEngineProcess.h"
#include "ports/IEventLoop.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kelo {

// An evaluation as the engine gives it: always from the side to move's point of view.
struct UciScore {
    enum class Unit { Centipawns, Mate };
    enum class Bound { Exact, Lower, Upper };
    Unit unit = Unit::Centipawns;
    // Centipawns, or moves to mate (negative: the side to move is mated).
    int value = 0;
    Bound bound = Bound::Exact;
};

// One "info" line, the fields this client reads; a field the line lacks keeps its default.
struct UciInfo {
    int depth = 0;
    int multipv = 1;
    uint64_t nodes = 0;
    std::optional<UciScore> score;
    // The principal variation in UCI long algebraic notation (e7e8q).
    std::vector<std::string> pv;
};

// What "go" says; only the limits that are set are sent.
struct UciLimits {
    std::optional<int> wtime, btime, winc, binc, movestogo;
    std::optional<int> movetime;
    std::optional<int> depth;
    std::optional<uint64_t> nodes;
    // The root moves the search may choose from; empty: all.
    std::vector<std::string> searchmoves;
};

// What the engine client tells its owner.
class IUciEngineObserver {
public:
    virtual ~IUciEngineObserver() = default;
    // The handshake is done (uciok, the options set, readyok): the engine takes positions.
    virtual void OnEngineReady(const std::string& name) = 0;
    virtual void OnEngineInfo(const UciInfo&) {}
    // The search's answer. A move checked against the rules of the position searched, as the
    // table plays it; nullopt when the engine has no move ("bestmove (none)" or "0000").
    virtual void OnBestMove(const std::optional<MoveRecord>& move, const std::string& text) = 0;
    // A bestmove that is unreadable or illegal in the position searched: it is never played.
    virtual void OnBestMoveRefused(const std::string& text, const std::string& why) = 0;
    // The engine is missing, crashed or quit by itself: no answer comes any more.
    virtual void OnEngineGone(const std::string& why) = 0;
};

// A UCI chess engine behind a process port: the handshake, the options, one search at a time
// and the checks of what it answers. Lines that it does not understand are ignored.
class CUciEngine : public IEngineProcessEvents, public ITimerSink {
public:
    CUciEngine(IEngineProcess& process, IEventLoop& loop, IUciEngineObserver& observer);
    ~CUciEngine() override;
    CUciEngine(const CUciEngine&) = delete;
    CUciEngine& operator=(const CUciEngine&) = delete;

    // Starts the engine and its handshake: "uci", then once "uciok" came, "setoption" for
    // Threads 1 and Hash 16 and for the given options (those the engine offers), then
    // "isready". No answer to "uci" within a while counts as gone.
    void Start(const std::string& program, const std::vector<std::string>& args,
               const std::map<std::string, std::string>& options = {});
    bool Ready() const { return m_bReady; }
    // The engine's "id name", once it has said it (the program's file name when it says none).
    const std::string& Name() const { return m_strName; }
    // Whether it offers an option of that name.
    bool HasOption(const std::string& name) const;

    // A new game begins: "ucinewgame" and "isready". A search still running is cancelled.
    void NewGame();
    // Sends "position" and "go" with the limits. false when the engine is not ready, a search
    // is still running, or the position's moves or the searchmoves are not legal (nothing is
    // sent then). While a cancelled search or a new game's "isready" is still unanswered, the
    // search is held and goes out once they are; it counts as running from here on.
    bool Go(const UciPosition& position, const UciLimits& limits);
    bool Searching() const { return m_bSearching; }
    // Asks the running search for its move now; its bestmove still arrives.
    void Stop();
    // Stops any search whose answer is no longer wanted: its bestmove is dropped.
    void Cancel();
    // "quit", then the process ends.
    void Quit();

    // Reading of single lines, for the engine client and its tests.
    static std::optional<UciInfo> ParseInfo(const std::string& line);

    // IEngineProcessEvents
    void OnEngineLine(const std::string& line) override;
    void OnEngineGone(const std::string& why) override;
    // ITimerSink
    void OnTimer(uint32_t id) override;

private:
    // The handshake's step; a search runs only in Ready.
    enum class Step { Idle, AwaitingUciOk, AwaitingReadyOk, Ready, Gone, Quit };
    struct OfferedOption {
        // As the engine spells it, for "setoption".
        std::string name;
        std::string type;
    };

    void ReadHandshakeLine(const std::string& keyword, const std::vector<std::string>& words);
    void SendOptions();
    void AskReady();
    void ReadyCame();
    void ReadBestMove(const std::vector<std::string>& words);
    // Sends the held search when nothing stands before it any more.
    void SendHeldSearch();
    void Gone(const std::string& why);
    bool Running() const;

    IEngineProcess& m_process;
    IEventLoop& m_loop;
    IUciEngineObserver& m_observer;
    std::string m_strName;
    bool m_bReady = false;
    bool m_bSearching = false;
    Step m_step = Step::Idle;
    // The program's file name, the name when the engine gives none.
    std::string m_strProgram;
    // What the engine offers, by the lower-case name (option names are not case-sensitive).
    std::map<std::string, OfferedOption> m_offered;
    // What the caller asked to be set once the engine said what it offers.
    std::map<std::string, std::string> m_requestedOptions;
    // "isready" sent (the handshake's or a new game's) and not yet answered.
    bool m_bAwaitingReady = false;
    // The lines of the search asked for ("position", "go"), held while a dropped search still
    // runs or a "readyok" is awaited; m_bSearchSent once they went out.
    std::vector<std::string> m_heldSearch;
    bool m_bSearchSent = false;
    // "stop" went out (or is to follow the held search) for the search asked for.
    bool m_bStopAsked = false;
    // A cancelled search still runs: its info lines and its bestmove are dropped.
    bool m_bDropping = false;
    // The position searched, to check the answer against.
    CEnginePosition m_searched;
};

} // namespace kelo
