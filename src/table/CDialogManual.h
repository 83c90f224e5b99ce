// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/MoveRecord.h"
#include "ports/IEventLoop.h"
#include "table/CBaseBoardStudy.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelo {

class CBaseDiagram;

// The window that shows the study list; told whenever its items or the selection changed.
class IDialogManualView {
public:
    virtual ~IDialogManualView() = default;
    virtual void OnListChanged() = 0;
};

// The study window "棋谱研究": a copy of the moves of the table's game as a list, one item for
// the starting position and one per move, and a study board that shows the position of the
// item selected. Stepping through the list, replaying it by itself and trying other moves on
// the study board never touch the table's game; only "刷新" takes its moves again.
class CDialogManual : public ITimerSink, public IStudyMoveTarget {
public:
    static constexpr uint32_t REPLAY_TIMER = 1;
    static constexpr uint32_t REPLAY_PERIOD_MS = 1500;
    static constexpr const char* TITLE = "棋谱研究";
    static constexpr const char* FIRST_ITEM = "========";

    struct Item {
        std::string text;
        // The ply the item shows: 0 for the starting position, i for the position after move i.
        int32_t data = 0;
    };

    // The table's moves are read from its position, at every refresh.
    CDialogManual(CBaseBoardStudy& board, const CBaseDiagram& table, IEventLoop& loop);
    ~CDialogManual() override;
    CDialogManual(const CDialogManual&) = delete;
    CDialogManual& operator=(const CDialogManual&) = delete;

    void SetView(IDialogManualView* view) { m_pView = view; }
    // The board sends its moves here, and the list is filled with the table's moves.
    void OnInitDialog();

    // "刷新": the table's moves again, the last position shown.
    void RefreshMoves();
    // The position after the first n moves, built from the start.
    void ShowPly(int32_t n);
    // IStudyMoveTarget: a move played on the study board ends the line after the position
    // shown and continues it.
    void AddStudyMove(const MoveRecord& record) override;
    void TruncateToSelection();

    // The list's selection changed to the item (-1 for none); while the list is rebuilt,
    // nothing else happens.
    void SelectItem(int index);
    // "上一步" and "下一步": the item before or after the selected one; nothing at either end.
    void OnPrevious();
    void OnNext();
    // "自动": starts or stops the replay, an item every 1.5 seconds.
    void OnAuto();
    // "旋转": the board seen from the next seat.
    void OnRotate();

    const std::vector<Item>& Items() const { return m_items; }
    int Selected() const { return m_nSelected; }
    const std::vector<MoveRecord>& Moves() const { return m_moves; }
    bool AutoReplay() const { return m_bAutoReplay; }
    bool Rebuilding() const { return m_bRebuilding; }
    CBaseBoardStudy& Board() { return m_board; }

    // ITimerSink
    void OnTimer(uint32_t id) override;

    // The list line of move n: its number and its text, written from White's side.
    static std::string ItemText(int32_t n, const MoveRecord& move);

private:
    // Fills the list with the moves, the last item selected, without showing a position.
    void RebuildList();
    void AppendItem(int32_t n, const MoveRecord& move);
    void StopReplay();
    void Changed();

    CBaseBoardStudy& m_board;
    const CBaseDiagram& m_table;
    IEventLoop& m_loop;
    IDialogManualView* m_pView = nullptr;
    std::vector<MoveRecord> m_moves;
    std::vector<Item> m_items;
    int m_nSelected = -1;
    // The ply the board shows now.
    int32_t m_nShownPly = 0;
    bool m_bRebuilding = false;
    bool m_bAutoReplay = false;
};

} // namespace kelo
