// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CEnginePlayer.h"

#include "chess/CCoordinateMove.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace kelo {

namespace {

// One-shot timers of a turn, measured from its start; the retry runs while the engine is not
// ready yet.
constexpr uint32_t TIMER_STOP = 1;
constexpr uint32_t TIMER_OWN_MOVE = 2;
constexpr uint32_t TIMER_RETRY = 3;
constexpr uint32_t RETRY_MS = 50;

// Skill Level where the engine offers it: the level's, or the top of its range at full
// strength.
constexpr const char* SKILL_OPTION = "Skill Level";
constexpr int FULL_SKILL = 20;

void Log(const std::string& text) {
    std::fprintf(stderr, "engine player: %s\n", text.c_str());
}

} // namespace

CEnginePlayer::CEnginePlayer(IEngineProcess& process, IEventLoop& loop,
                             IEnginePlayerObserver& observer, Clock now)
    : m_process(process), m_loop(loop), m_observer(observer), m_now(std::move(now)),
      m_engine(process, loop, *this) {}

CEnginePlayer::~CEnginePlayer() {
    m_loop.KillTimers(this);
}

void CEnginePlayer::Start(const std::string& program, const std::vector<std::string>& args,
                          int level) {
    m_nLevel = m_nNextLevel = EngineLevel::Of(level).level;
    m_bStarted = true;
    m_bGone = false;
    std::map<std::string, std::string> options;
    if (const std::optional<int> skill = EngineLevel::Of(m_nLevel).skill)
        options[SKILL_OPTION] = std::to_string(*skill);
    m_engine.Start(program, args, options);
}

void CEnginePlayer::SetLevel(int level) {
    m_nNextLevel = EngineLevel::Of(level).level;
}

void CEnginePlayer::NewGame() {
    Abandon();
    m_lastScore.reset();
    m_nLostMoves = 0;
    if (m_bGone || !m_bStarted)
        return;
    m_engine.NewGame();
    if (m_nNextLevel != m_nLevel) {
        m_nLevel = m_nNextLevel;
        SetSkill(EngineLevel::Of(m_nLevel));
    }
}

void CEnginePlayer::SetSkill(const EngineLevel& level) {
    // The engine client sets options at the handshake only. Between games the engine waits
    // (the new game's "ucinewgame" ended any search), which is when UCI lets options change.
    if (!m_engine.Ready() || !m_engine.HasOption(SKILL_OPTION))
        return;
    m_process.WriteLine(std::string("setoption name ") + SKILL_OPTION + " value " +
                        std::to_string(level.skill.value_or(FULL_SKILL)));
}

bool CEnginePlayer::Play(const EngineTurn& turn) {
    Abandon();
    if (m_bGone || !m_bStarted)
        return false;
    std::string why;
    if (!m_position.Load(turn.position, why)) {
        Log("no move: " + why);
        return false;
    }
    if (m_position.SideToMove() != turn.colour) {
        Log("no move: it is not this colour's turn");
        return false;
    }
    // Mated or stalemated: nothing to find.
    if (m_position.LegalMoves().empty())
        return false;
    m_turn = turn;
    m_bTurn = true;
    m_phase = Phase::Searching;
    m_turnScore.reset();
    m_bStopSent = false;
    m_nTurnStart = m_now();
    m_plan = EngineClockPlan::Make(EngineLevel::Of(m_nLevel), turn.colour, turn.clock);
    m_loop.SetTimer(this, TIMER_STOP, static_cast<uint32_t>(m_plan.stopMs));
    m_loop.SetTimer(this, TIMER_OWN_MOVE, static_cast<uint32_t>(m_plan.ownMoveMs));
    // The engine's lines arrive through the loop, so no answer comes inside this call.
    m_bSearchPending = true;
    SendSearch();
    return true;
}

void CEnginePlayer::SendSearch() {
    if (!m_bTurn || !m_bSearchPending)
        return;
    if (m_engine.Go(m_turn.position, m_plan.limits)) {
        m_bSearchPending = false;
        m_loop.KillTimer(this, TIMER_RETRY);
        return;
    }
    // Not ready yet: tried again until "stop" would be due; then the own move comes.
    m_loop.SetTimer(this, TIMER_RETRY, RETRY_MS);
}

int CEnginePlayer::Elapsed() const {
    return static_cast<int>(m_now() - m_nTurnStart);
}

bool CEnginePlayer::FifthCheck(const CEnginePosition::Move& move) const {
    return m_turn.checkRun >= 4 && move.check && !move.mate;
}

void CEnginePlayer::Abandon() {
    if (!m_bTurn)
        return;
    m_engine.Cancel();
    EndTurn();
}

void CEnginePlayer::EndTurn() {
    m_bTurn = false;
    m_bSearchPending = false;
    m_loop.KillTimer(this, TIMER_STOP);
    m_loop.KillTimer(this, TIMER_OWN_MOVE);
    m_loop.KillTimer(this, TIMER_RETRY);
}

void CEnginePlayer::Quit() {
    Abandon();
    m_bGone = true;
    m_engine.Quit();
}

bool CEnginePlayer::IsLost(const UciScore& score) {
    return score.unit == UciScore::Unit::Mate ? score.value <= 0 : score.value <= LOST_CENTIPAWNS;
}

bool CEnginePlayer::AcceptsDraw() const {
    if (!m_lastScore)
        return false;
    // A mate against the player is at most even too; a mate for it is not.
    return m_lastScore->value <= 0;
}

void CEnginePlayer::OnEngineReady(const std::string& name) {
    m_observer.OnPlayerReady(name);
}

void CEnginePlayer::OnEngineInfo(const UciInfo& info) {
    if (m_bTurn && info.multipv == 1 && info.score)
        m_turnScore = info.score;
}

void CEnginePlayer::OnBestMove(const std::optional<MoveRecord>& move, const std::string& text) {
    if (!m_bTurn)
        return;
    m_nSilentTurns = 0;
    const CEnginePosition::Move* found =
        move ? m_position.Find(CCoordinateMove::Format(move->from, move->to, move->special))
             : nullptr;
    if (found == nullptr) {
        PlayOwnMove(move ? "the engine's move " + text + " is not among the legal moves"
                         : "the engine named no move (" + text + ")");
        return;
    }
    if (!FifthCheck(*found)) {
        Answer(*found, m_phase == Phase::Researching ? EngineAnswer::Source::Researched
                                                     : EngineAnswer::Source::Engine);
        return;
    }
    if (m_phase == Phase::Researching) {
        PlayOwnMove("the engine's move " + text + " is outside the moves it was given");
        return;
    }
    // A mate is the best answer there is, whatever the engine saw.
    const auto& moves = m_position.LegalMoves();
    const auto mate =
        std::find_if(moves.begin(), moves.end(), [](const auto& m) { return m.mate; });
    if (mate != moves.end()) {
        Answer(*mate, EngineAnswer::Source::Own);
        return;
    }
    if (!std::all_of(moves.begin(), moves.end(), [this](const auto& m) { return FifthCheck(m); })) {
        Research();
        return;
    }
    // Every move is a fifth check: the engine's move it is.
    Answer(*found, EngineAnswer::Source::Engine);
}

void CEnginePlayer::Research() {
    // The second search may use what is left before the own move is due; "stop", when still
    // to come, cuts it at the planned time.
    const int left = m_plan.ownMoveMs - LEAST_RESEARCH_MS - Elapsed();
    if (left < LEAST_RESEARCH_MS) {
        PlayOwnMove("no time left to search again without the fifth check");
        return;
    }
    UciLimits limits;
    limits.depth = m_plan.limits.depth;
    limits.nodes = m_plan.limits.nodes;
    limits.movetime = std::min(left, m_plan.limits.movetime.value_or(left));
    for (const CEnginePosition::Move& move : m_position.LegalMoves()) {
        if (!FifthCheck(move))
            limits.searchmoves.push_back(move.text);
    }
    m_phase = Phase::Researching;
    m_turnScore.reset();
    if (!m_engine.Go(m_turn.position, limits))
        PlayOwnMove("the engine took no second search");
}

void CEnginePlayer::OnBestMoveRefused(const std::string& text, const std::string& why) {
    if (!m_bTurn)
        return;
    m_nSilentTurns = 0;
    PlayOwnMove("the engine's move " + text + " was refused: " + why);
}

void CEnginePlayer::PlayOwnMove(const std::string& why) {
    Log("a move of its own: " + why);
    m_engine.Cancel();
    // No score of this turn stands for the move played.
    m_turnScore.reset();
    const CEnginePosition::Move* move =
        m_position.ChooseOwn([this](const CEnginePosition::Move& m) { return !FifthCheck(m); });
    if (move == nullptr) {
        EndTurn();
        return;
    }
    Answer(*move, EngineAnswer::Source::Own);
}

void CEnginePlayer::Answer(const CEnginePosition::Move& move, EngineAnswer::Source source) {
    EngineAnswer answer;
    answer.move = move.record;
    answer.text = move.text;
    answer.source = source;
    if (m_turnScore) {
        m_lastScore = m_turnScore;
        m_nLostMoves = IsLost(*m_turnScore) ? m_nLostMoves + 1 : 0;
    }
    answer.resign = EngineLevel::Of(m_nLevel).resigns && m_nLostMoves >= LOST_MOVES;
    EndTurn();
    // Last: the owner may start the next turn from here.
    m_observer.OnPlayerMove(answer);
}

void CEnginePlayer::OnEngineGone(const std::string& why) {
    const bool told = m_bGone;
    m_bGone = true;
    EndTurn();
    if (!told)
        m_observer.OnPlayerGone(why);
}

void CEnginePlayer::OnTimer(uint32_t id) {
    switch (id) {
    case TIMER_RETRY:
        m_loop.KillTimer(this, TIMER_RETRY);
        SendSearch();
        break;
    case TIMER_STOP:
        m_loop.KillTimer(this, TIMER_STOP);
        if (m_bTurn && m_engine.Searching()) {
            m_bStopSent = true;
            m_engine.Stop();
        }
        break;
    case TIMER_OWN_MOVE:
        m_loop.KillTimer(this, TIMER_OWN_MOVE);
        if (!m_bTurn)
            break;
        if (m_bStopSent && ++m_nSilentTurns >= SILENT_TURNS) {
            // An engine that no longer answers even "stop" is of no more use than a crashed one.
            EndTurn();
            m_engine.Quit();
            OnEngineGone("引擎连续 " + std::to_string(SILENT_TURNS) + " 步没有回应 stop");
            return;
        }
        PlayOwnMove("the engine did not answer in time");
        break;
    default:
        break;
    }
}

} // namespace kelo
