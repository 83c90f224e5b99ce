// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBaseBoard.h"
#include "chess/CBoardGrid.h"
#include "table/BoardMarks.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelo {

class CPlayerManager;
class IBoardObserver;
class IPrompts;
class ISoundPlayer;

// Whoever keeps the line played on a study board: told of every move made there, after the
// board has applied it.
class IStudyMoveTarget {
public:
    virtual ~IStudyMoveTarget() = default;
    virtual void AddStudyMove(const MoveRecord& record) = 0;
};

// A board of its own beside the table's, on which the moves of a game are gone through and
// other moves tried. Its position is its own: nothing played here is sent, and the table's
// board, people and clocks are only read when the board is made. The side to move comes from
// its own seat table, so any user, player or looker-on, can move both sides.
class CBaseBoardStudy : public CBaseBoard {
public:
    enum class Cursor { Arrow, Cross, Hidden };

    // The fixed geometry of the study window's board.
    static constexpr int32_t WINDOW_SIZE = 360;
    static constexpr int32_t SQUARE_SIZE = 42;
    static constexpr int32_t GRID_OFFSET = 33;
    static constexpr int32_t PIECE_SIZE = 38;

    static constexpr const char* NOT_A_TARGET = "落点无效!";
    static constexpr const char* CANNOT_MOVE_THERE = "此处不能落子";

    // A seat of the table and the colour it plays.
    struct StudySeat {
        int16_t seat = 0;
        Colour colour = Colour::None;
    };

    // The seat table is taken from the people of the table as they are now; the position is
    // set up in the starting position.
    CBaseBoardStudy(CBaseDiagram& diagram, CBaseRuleFactory& rules, const CPlayerManager& people,
                    IPrompts& prompts, ISoundPlayer* sound);

    void SetNotifyTarget(IStudyMoveTarget* target) { m_pNotifyTarget = target; }
    // Told of every change to redraw.
    void SetObserver(IBoardObserver* observer) { m_pObserver = observer; }

    // Seats.
    const std::vector<StudySeat>& SeatTable() const { return m_seats; }
    int16_t Turn() const { return m_nTurn; }
    int16_t SeatCount() const { return m_nSeatCount; }
    int16_t ViewSeat() const { return m_nViewSeat; }
    Colour ViewColour() const { return m_viewColour; }
    // The colour the seat plays; None for a seat not in the table.
    Colour ColourOfSeat(int16_t seat) const;
    Colour TurnColour() const { return ColourOfSeat(m_nTurn); }

    // The starting position with nothing selected or marked; the first mover's seat moves.
    void ResetToStart();
    // Plays the record on the study position; false when it does not fit the position.
    bool ApplyRecord(const MoveRecord& record);
    void AdvanceTurn();
    // Shows the board from the next seat around the table.
    void TurnView();
    // A move relayed as the table's board gets it (the step message): played here, its squares
    // marked, and the turn passes on.
    void HandleGameMessage(uint16_t type, const uint8_t* body, uint32_t length);
    void Repaint();

    // The window.
    const CBoardGrid& Grid() const { return m_grid; }
    // Turned by half a turn when the view colour is not the colour at the bottom.
    bool Mirrored() const;
    CBasePoint ToScreen(CBasePoint model) const;
    // The model square under a window point; may lie off the board.
    CBasePoint SquareAt(int32_t x, int32_t y) const;
    std::string FileLabel(int column) const;
    std::string RankLabel(int row) const;
    // The colour whose king stands in check, None when neither.
    Colour KingInCheck();

    Cursor OnMouseMove(int32_t x, int32_t y);
    void OnLButtonDown(int32_t x, int32_t y);
    Cursor OnLButtonUp(int32_t x, int32_t y);
    bool IsDragging() const { return m_bDragging; }
    // The selection, hover and marks the window draws.
    const BoardMarks& Marks() const { return m_marks; }

private:
    void BuildSeatTable(const CPlayerManager& people);
    bool CanPickUp(CBasePoint square);
    // Whether a click on the square would pick a piece up or make a move.
    bool ClickActs(CBasePoint square);
    void PickUp(CBasePoint square);
    void TryMove(CBasePoint square);
    void ClearSelection();
    void Refuse();
    void RefuseTarget(const char* message);

    IPrompts& m_prompts;
    ISoundPlayer* m_pSound;
    IStudyMoveTarget* m_pNotifyTarget = nullptr;
    IBoardObserver* m_pObserver = nullptr;
    CBoardGrid m_grid;
    std::vector<StudySeat> m_seats;
    int16_t m_nFirstSeat = 0;
    int16_t m_nTurn = 0;
    int16_t m_nSeatCount = 2;
    int16_t m_nViewSeat = 0;
    Colour m_viewColour = Colour::White;
    BoardMarks m_marks;
    bool m_bDragging = false;
};

} // namespace kelo
