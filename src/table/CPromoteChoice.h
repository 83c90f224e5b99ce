// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TableTypes.h"
#include "ports/IEventLoop.h"

#include <functional>

namespace kelo {

// The choice of the piece a pawn becomes: four pieces to pick from and a countdown that picks
// the queen when the user does nothing. The dialog shows it and forwards the clicks.
class CPromoteChoice : public ITimerSink {
public:
    static constexpr uint32_t COUNTDOWN_TIMER = 1;
    static constexpr int COUNTDOWN_SECONDS = 25;
    // In the order the dialog offers them.
    static constexpr PieceKind CHOICES[4] = {PieceKind::Queen, PieceKind::Rook, PieceKind::Bishop,
                                             PieceKind::Knight};

    using Done = std::function<void(PieceKind)>;
    CPromoteChoice(IEventLoop& loop, Done done) : m_loop(loop), m_done(std::move(done)) {}
    ~CPromoteChoice() override { m_loop.KillTimers(this); }
    CPromoteChoice(const CPromoteChoice&) = delete;
    CPromoteChoice& operator=(const CPromoteChoice&) = delete;

    void Start();
    // Called each second with the seconds left.
    void SetTick(std::function<void(int)> tick) { m_tick = std::move(tick); }
    // Ends the choice with the kind; a kind that is no promotion piece counts as the queen.
    void Choose(PieceKind kind);
    int Remaining() const { return m_nRemaining; }
    bool Finished() const { return m_bFinished; }
    PieceKind Chosen() const { return m_chosen; }
    static const char* Caption(PieceKind kind);

    void OnTimer(uint32_t id) override;

private:
    IEventLoop& m_loop;
    Done m_done;
    std::function<void(int)> m_tick;
    int m_nRemaining = COUNTDOWN_SECONDS;
    bool m_bFinished = false;
    PieceKind m_chosen = PieceKind::Queen;
};

} // namespace kelo
