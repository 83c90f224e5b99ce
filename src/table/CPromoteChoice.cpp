// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CPromoteChoice.h"

namespace kelo {

void CPromoteChoice::Start() {
    m_nRemaining = COUNTDOWN_SECONDS;
    m_bFinished = false;
    m_loop.SetTimer(this, COUNTDOWN_TIMER, 1000);
}

void CPromoteChoice::Choose(PieceKind kind) {
    if (m_bFinished)
        return;
    bool offered = false;
    for (PieceKind choice : CHOICES)
        offered = offered || choice == kind;
    m_chosen = offered ? kind : PieceKind::Queen;
    m_bFinished = true;
    m_loop.KillTimer(this, COUNTDOWN_TIMER);
    if (m_done)
        m_done(m_chosen);
}

void CPromoteChoice::OnTimer(uint32_t id) {
    if (id != COUNTDOWN_TIMER || m_bFinished)
        return;
    --m_nRemaining;
    if (m_tick)
        m_tick(m_nRemaining);
    if (m_nRemaining < 1)
        Choose(PieceKind::Queen);
}

const char* CPromoteChoice::Caption(PieceKind kind) {
    switch (kind) {
    case PieceKind::Queen:
        return "升变为后";
    case PieceKind::Rook:
        return "升变为车";
    case PieceKind::Bishop:
        return "升变为象";
    case PieceKind::Knight:
        return "升变为马";
    default:
        return "";
    }
}

} // namespace kelo
