// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CDialogManual.h"

#include "chess/CBaseDiagram.h"

#include <algorithm>

namespace kelo {

CDialogManual::CDialogManual(CBaseBoardStudy& board, const CBaseDiagram& table, IEventLoop& loop)
    : m_board(board), m_table(table), m_loop(loop) {}

CDialogManual::~CDialogManual() {
    m_loop.KillTimers(this);
    m_board.SetNotifyTarget(nullptr);
}

void CDialogManual::OnInitDialog() {
    m_board.SetNotifyTarget(this);
    RefreshMoves();
}

std::string CDialogManual::ItemText(int32_t n, const MoveRecord& move) {
    return std::to_string((n + 1) / 2) + " " + CBaseDiagram::MoveText(move);
}

void CDialogManual::AppendItem(int32_t n, const MoveRecord& move) {
    m_items.push_back({ItemText(n, move), n});
}

void CDialogManual::RebuildList() {
    m_bRebuilding = true;
    m_items.clear();
    m_items.push_back({FIRST_ITEM, 0});
    SelectItem(0);
    for (size_t i = 0; i < m_moves.size(); ++i) {
        AppendItem(static_cast<int32_t>(i + 1), m_moves[i]);
        SelectItem(static_cast<int>(m_items.size() - 1));
    }
    m_bRebuilding = false;
}

void CDialogManual::RefreshMoves() {
    m_moves = m_table.Moves();
    RebuildList();
    ShowPly(static_cast<int32_t>(m_moves.size()));
}

void CDialogManual::ShowPly(int32_t n) {
    n = std::clamp<int32_t>(n, 0, static_cast<int32_t>(m_moves.size()));
    m_board.ResetToStart();
    int32_t shown = 0;
    for (; shown < n; ++shown) {
        // A move that does not fit (a damaged game) ends the line shown where it stands.
        if (!m_board.ApplyRecord(m_moves[static_cast<size_t>(shown)]))
            break;
        m_board.AdvanceTurn();
    }
    m_nShownPly = shown;
    m_board.Repaint();
    Changed();
}

void CDialogManual::TruncateToSelection() {
    // With nothing selected the line ends at the position the board shows.
    const int32_t k =
        m_nSelected >= 0 ? m_items[static_cast<size_t>(m_nSelected)].data : m_nShownPly;
    if (k < 0 || k >= static_cast<int32_t>(m_moves.size()))
        return;
    m_moves.resize(static_cast<size_t>(k));
    RebuildList();
}

void CDialogManual::AddStudyMove(const MoveRecord& record) {
    TruncateToSelection();
    m_moves.push_back(record);
    const auto n = static_cast<int32_t>(m_moves.size());
    m_bRebuilding = true;
    AppendItem(n, record);
    SelectItem(static_cast<int>(m_items.size() - 1));
    m_bRebuilding = false;
    m_nShownPly = n;
    Changed();
}

void CDialogManual::SelectItem(int index) {
    if (index < -1 || index >= static_cast<int>(m_items.size()))
        return;
    m_nSelected = index;
    if (m_bRebuilding)
        return;
    if (index >= 0)
        ShowPly(m_items[static_cast<size_t>(index)].data);
    else
        Changed();
}

void CDialogManual::OnPrevious() {
    if (m_nSelected > 0)
        SelectItem(m_nSelected - 1);
}

void CDialogManual::OnNext() {
    if (m_nSelected >= 0 && m_nSelected + 1 < static_cast<int>(m_items.size()))
        SelectItem(m_nSelected + 1);
}

void CDialogManual::OnAuto() {
    if (m_bAutoReplay) {
        StopReplay();
        return;
    }
    if (m_nSelected < 0)
        SelectItem(0);
    m_bAutoReplay = true;
    m_loop.SetTimer(this, REPLAY_TIMER, REPLAY_PERIOD_MS);
    Changed();
}

void CDialogManual::StopReplay() {
    m_loop.KillTimer(this, REPLAY_TIMER);
    m_bAutoReplay = false;
    Changed();
}

void CDialogManual::OnTimer(uint32_t id) {
    if (id != REPLAY_TIMER)
        return;
    if (m_nSelected < 0 || m_nSelected + 1 >= static_cast<int>(m_items.size())) {
        StopReplay();
        return;
    }
    SelectItem(m_nSelected + 1);
}

void CDialogManual::OnRotate() {
    m_board.TurnView();
}

void CDialogManual::Changed() {
    if (m_pView != nullptr)
        m_pView->OnListChanged();
}

} // namespace kelo
