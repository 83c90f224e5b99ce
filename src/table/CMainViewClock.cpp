// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CMainViewClock.h"

#include "link/CTableMode.h"
#include "link/MSG_GAME_RESULT.h"
#include "ports/ISoundPlayer.h"
#include "table/CPlayerManager.h"
#include "table/CPlayerTimeControl.h"
#include "table/CTableState.h"
#include "table/GameResult.h"

#include <algorithm>
#include <cstdio>

namespace kelo {

namespace {
int16_t Add16(int16_t a, int b) {
    return static_cast<int16_t>(static_cast<uint16_t>(a + b));
}
} // namespace

CMainViewClock::CMainViewClock(const TableView& table, CPlayerTimeControl& time,
                               IMessageSender& sender, IEventLoop& loop, IClockView* view,
                               ISoundPlayer* sound)
    : m_table(table), m_time(time), m_sender(sender), m_loop(loop), m_pView(view), m_pSound(sound) {
}

CMainViewClock::~CMainViewClock() {
    m_loop.KillTimers(this);
}

CPlayerTimeControl& CMainViewClock::TimeControl() const {
    return m_time;
}

bool CMainViewClock::OwnSideToMove() const {
    const CPlayerManager& people = m_table.people;
    return people.GetCurrentTurnSeat() == people.GetOwnSeat();
}

void CMainViewClock::StartTimer() {
    m_loop.SetTimer(this, CLOCK_TIMER, CLOCK_PERIOD_MS);
    m_bRunning = true;
}

void CMainViewClock::StopTimer() {
    m_loop.KillTimer(this, CLOCK_TIMER);
    m_bRunning = false;
}

void CMainViewClock::ResetCounters() {
    m_nOwnUsedTime = 0;
    m_nOtherUsedTime = 0;
    m_nOwnLastMoveNumber = 0;
    m_nOtherLastMoveNumber = 0;
    m_nReplayCount = 0;
    m_nReceivedCount = 0;
    m_nRecoverUsedTime = 0;
    TimeControl().Reset();
}

void CMainViewClock::StartClock() {
    // A game begins with nothing charged; a replay count left from a joined game would take
    // one of this game's moves for the last replayed one.
    ResetCounters();
    StartTimer();
    if (m_pView != nullptr) {
        m_pView->RedrawClock(true);
        m_pView->RedrawClock(false);
        m_pView->BringToFront();
    }
}

void CMainViewClock::OnNewGame() {
    ResetCounters();
}

void CMainViewClock::OnTimer(uint32_t id) {
    if (id == CLOCK_TIMER)
        ClockTick();
}

void CMainViewClock::ClockTick() {
    if (!m_table.state.IsPlaying()) {
        StopTimer();
        return;
    }
    CheckTimeout();
    if (m_pView != nullptr)
        m_pView->RedrawClock(OwnSideToMove());
    CPlayerTimeControl& time = TimeControl();
    time.m_nStepCounter = Add16(time.m_nStepCounter, 1);
    const bool ownToMove = OwnSideToMove();
    if (m_bRunning && m_pSound != nullptr && UserClock(ownToMove) &&
        (LowMoveTime(ownToMove) || LowTotalTime(ownToMove)))
        m_pSound->PlayWave(ISoundPlayer::WAVE_LOW_TIME);
}

bool CMainViewClock::UserClock(bool ownSide) const {
    return m_table.mode.LocalMode() || (ownSide && !m_table.mode.IsWatcher());
}

bool CMainViewClock::LowMoveTime(bool ownSide) const {
    return m_table.state.IsPlaying() && UserClock(ownSide) && SideToMove(ownSide) &&
           RemainingMove(ownSide) < LOW_TIME;
}

bool CMainViewClock::LowTotalTime(bool ownSide) const {
    return m_table.state.IsPlaying() && UserClock(ownSide) && RemainingTotal(ownSide) < LOW_TIME;
}

void CMainViewClock::CheckTimeout() {
    const bool ownToMove = OwnSideToMove();
    // Outside local mode the client of the side to move judges its own clock; the opponent's
    // is judged here only while the opponent's connection is gone, since nobody else would.
    if (!m_table.mode.LocalMode() && !ownToMove && !JudgesAbsentOpponent())
        return;
    const CPlayerTimeControl& time = TimeControl();
    const int step = time.m_nStepCounter;
    const bool inTime =
        step <= time.m_nPaceTime && step <= time.m_nTotalTime - UsedTimeOf(ownToMove);
    if (inTime || !m_bRunning)
        return;
    StopTimer();
    const CPlayerManager& people = m_table.people;
    const uint16_t ownSeat = people.GetOwnSeat();
    const uint16_t opponentSeat =
        people.SeatAfter(ownSeat == CPlayerManager::NONE ? -1 : ownSeat, true);
    SendGameResult(m_sender, people, 1, ownToMove ? opponentSeat : ownSeat, RESULT_REASON_TIMEOUT);
}

bool CMainViewClock::JudgesAbsentOpponent() const {
    return !m_table.mode.IsWatcher() && m_table.people.GetOwnSeat() != CPlayerManager::NONE &&
           m_table.state.OpponentDisconnected() && SideToMove(false);
}

int16_t CMainViewClock::RecoveredStep(bool ownSideToMove) const {
    // A player back at the table on its own move gets 30 s to find it again; everyone else
    // shows the move's time as it has run, as the players' clients do.
    if (ownSideToMove && !m_table.mode.IsWatcher())
        return std::min<int16_t>(m_nRecoverUsedTime, Add16(TimeControl().m_nPaceTime, -30));
    return m_nRecoverUsedTime;
}

void CMainViewClock::OnMoveClock(Colour colour, int16_t moveNumber, int16_t clock) {
    ++m_nReceivedCount;
    const bool ownMove = colour == m_table.people.GetOwnColour();
    CPlayerTimeControl& time = TimeControl();
    if (m_nReplayCount != 0 && m_nReplayCount == m_nReceivedCount) {
        // The last move of a joined game: the move in progress has already run a while, and
        // the clock runs from here as it does at once for a game joined without moves. That
        // while is the step counter only: the move's clock field charges all of it when it
        // comes, so it is not charged to the used time as well.
        time.m_nStepCounter = RecoveredStep(!ownMove);
        if (m_table.state.IsPlaying())
            StartTimer();
    } else {
        time.m_nStepCounter = 0;
    }
    (ownMove ? m_nOwnLastMoveNumber : m_nOtherLastMoveNumber) = moveNumber;
    // A move made faster than the added time gives time back.
    int16_t& used = UsedTime(ownMove);
    used = Add16(used, clock - time.m_nPaceAddedTime);
    if (!ownMove && m_pView != nullptr)
        m_pView->BringToFront();
}

void CMainViewClock::OnGameState(uint16_t firstSeat, int16_t recoverUsedTime,
                                 uint32_t replayCount) {
    // The moves that follow rebuild the game from its start; a client back after a lost
    // connection would otherwise charge every one of them a second time.
    ResetCounters();
    m_nRecoverUsedTime = recoverUsedTime;
    m_nReplayCount = replayCount;
    if (replayCount != 0)
        return; // the replayed moves bring the clocks up to date, the last one included
    TimeControl().m_nStepCounter = RecoveredStep(firstSeat == m_table.people.GetOwnSeat());
    StartTimer();
}

void CMainViewClock::OnTakeBack(int16_t steps) {
    m_nOwnLastMoveNumber = Add16(m_nOwnLastMoveNumber, -steps);
    m_nOtherLastMoveNumber = Add16(m_nOtherLastMoveNumber, -steps);
}

bool CMainViewClock::SideToMove(bool ownSide) const {
    if (ownSide)
        return OwnSideToMove();
    // The other side only when the turn is at another player's seat: no turn at all (before
    // a game, or a seat nobody holds) is neither side's.
    const CPlayerManager& people = m_table.people;
    const uint16_t turn = people.GetCurrentTurnSeat();
    return turn != people.GetOwnSeat() && turn != CPlayerManager::NONE &&
           people.GetPersonBySeat(static_cast<int16_t>(turn)) != nullptr;
}

int CMainViewClock::RemainingTotal(bool ownSide) const {
    const CPlayerTimeControl& time = TimeControl();
    int remaining = time.m_nTotalTime - UsedTimeOf(ownSide);
    if (SideToMove(ownSide))
        remaining -= time.m_nStepCounter;
    return std::max(remaining, 0);
}

int CMainViewClock::RemainingMove(bool ownSide) const {
    const CPlayerTimeControl& time = TimeControl();
    if (!SideToMove(ownSide))
        return time.m_nPaceTime;
    const int limit = std::min<int>(time.m_nPaceTime, time.m_nTotalTime - UsedTimeOf(ownSide));
    return std::max(limit - time.m_nStepCounter, 0);
}

int CMainViewClock::MovesMade(bool ownSide) const {
    return ownSide ? m_nOwnLastMoveNumber : m_nOtherLastMoveNumber;
}

std::string CMainViewClock::FormatTime(int seconds) {
    char text[32];
    std::snprintf(text, sizeof(text), "%02d分%02d秒", seconds / 60, seconds % 60);
    return text;
}

std::string CMainViewClock::FormatMoves(int moves) {
    char text[32];
    std::snprintf(text, sizeof(text), "%d步", moves);
    return text;
}

} // namespace kelo
