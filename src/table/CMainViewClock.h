// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TableTypes.h"
#include "ports/IEventLoop.h"
#include "table/TableView.h"

#include <cstdint>
#include <string>

namespace kelo {

class IMessageSender;
class ISoundPlayer;

// What the clocks ask of the table window.
class IClockView {
public:
    virtual ~IClockView() = default;
    // Redraws the clock area of one side.
    virtual void RedrawClock(bool ownSide) = 0;
    // Brings the table window to the front, restoring it when minimized.
    virtual void BringToFront() = 0;
};

// The players' clocks of the table: the seconds charged to each side, the move in progress,
// and the time-out judged by the client of the side to move. Driven by the one-second timer 1.
class CMainViewClock : public ITimerSink {
public:
    static constexpr uint32_t CLOCK_TIMER = 1;
    static constexpr uint32_t CLOCK_PERIOD_MS = 1000;
    // Under this many seconds a clock the user plays on is shown red and ticks.
    static constexpr int LOW_TIME = 10;

    CMainViewClock(const TableView& table, CPlayerTimeControl& time, IMessageSender& sender,
                   IEventLoop& loop, IClockView* view = nullptr, ISoundPlayer* sound = nullptr);
    ~CMainViewClock() override;
    CMainViewClock(const CMainViewClock&) = delete;
    CMainViewClock& operator=(const CMainViewClock&) = delete;

    // The start of play: every counter of the game before is cleared.
    void StartClock();
    // A new game (601): nothing charged, no move made, nothing to replay.
    void OnNewGame();
    void ClockTick();
    // Reports the side to move out of time, once: the own side, the other side at a local
    // table, and an opponent whose connection has gone, who cannot report it.
    void CheckTimeout();
    // Every move the board applied, replayed ones too.
    void OnMoveClock(Colour colour, int16_t moveNumber, int16_t clock);
    // Joining a game under way: the seat that moves first, the seconds already spent on the
    // move in progress and the number of moves about to be replayed. The clock state begins
    // afresh; the replayed moves rebuild it.
    void OnGameState(uint16_t firstSeat, int16_t recoverUsedTime, uint32_t replayCount);
    // An agreed take-back of the given number of steps.
    void OnTakeBack(int16_t steps);
    void OnTimer(uint32_t id) override;

    // Display values of one side.
    int RemainingTotal(bool ownSide) const;
    int RemainingMove(bool ownSide) const;
    int MovesMade(bool ownSide) const;
    static std::string FormatTime(int seconds);
    static std::string FormatMoves(int moves);

    // Whether a side's move time or total time is under LOW_TIME during a game, on a clock the
    // user plays on: the own one, or either at a local table. The move time only counts for the
    // side to move, since the other's is the full allowance.
    bool LowMoveTime(bool ownSide) const;
    bool LowTotalTime(bool ownSide) const;

    bool IsRunning() const { return m_bRunning; }
    // True when the side to move is the own side.
    bool OwnSideToMove() const;
    // Whether that side's player sits at the turn seat.
    bool SideToMove(bool ownSide) const;

    int16_t m_nOwnUsedTime = 0;
    int16_t m_nOtherUsedTime = 0;
    int16_t m_nOwnLastMoveNumber = 0;
    int16_t m_nOtherLastMoveNumber = 0;
    uint32_t m_nReplayCount = 0;
    uint32_t m_nReceivedCount = 0;
    int16_t m_nRecoverUsedTime = 0;

private:
    CPlayerTimeControl& TimeControl() const;
    // Clears what the clocks counted of a game: used times, move numbers, replay and received
    // counts, the recovered time and the step counter.
    void ResetCounters();
    int16_t& UsedTime(bool ownSide) { return ownSide ? m_nOwnUsedTime : m_nOtherUsedTime; }
    int16_t UsedTimeOf(bool ownSide) const { return ownSide ? m_nOwnUsedTime : m_nOtherUsedTime; }
    // Whether this player judges the opponent's clock: the opponent is to move and gone.
    bool JudgesAbsentOpponent() const;
    // The step counter of a joined move: what was spent; on the user's own move never more
    // than leaves 30 s.
    int16_t RecoveredStep(bool ownSideToMove) const;
    void StartTimer();
    void StopTimer();
    // Whether the user plays on this side's clock.
    bool UserClock(bool ownSide) const;

    TableView m_table;
    CPlayerTimeControl& m_time;
    IMessageSender& m_sender;
    IEventLoop& m_loop;
    IClockView* m_pView;
    // The tick of a running-out clock (none: silent); the player decides whether sounds are on.
    ISoundPlayer* m_pSound;
    bool m_bRunning = false;
};

} // namespace kelo
