// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBasePoint.h"

namespace kelo {

class CBoardWindowModel;

// The square cursor that plays the board from the keyboard. The arrows move it as the player
// sees the board (up is towards the opponent), and choosing a square acts exactly as a click
// on it would: the same checks, the same pick-up and the same sending.
class CBoardCursor {
public:
    explicit CBoardCursor(CBoardWindowModel& board) : m_board(board) {}

    // The model square under the cursor; it starts on the own king's pawn (e2 for White).
    CBasePoint Square() const;
    void SetSquare(CBasePoint model);
    // Moves by whole squares on the screen; stops at the board's edge. False when it did not
    // move.
    bool Move(int dx, int dy);
    // Space or Enter: a click on the cursor's square.
    void Activate();
    // Escape: the picked-up piece goes back. False when none was picked up.
    bool PutBack();

private:
    CBoardWindowModel& m_board;
    // In screen squares, so that turning the board keeps it where the player sees it.
    int m_nColumn = 4;
    int m_nRow = 6;
};

} // namespace kelo
