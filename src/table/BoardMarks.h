// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBaseBoard.h"
#include "chess/CBasePoint.h"

#include <utility>
#include <vector>

namespace kelo {

// What a board window shows of the user's hand on the board: the piece picked up, the square a
// click would act on, where the piece may go and the framed squares. Only the window's model
// writes it; the board itself keeps only the game.
struct BoardMarks {
    bool pieceSelected = false;
    // The square of the piece picked up, none while nothing is.
    CBasePoint selected = NO_POINT;
    // The square under the mouse last found to act on a click.
    CBasePoint target = NO_POINT;
    // Whether a click on the square under the mouse would act.
    bool hover = false;
    // The squares the picked-up piece may move to.
    std::vector<CBasePoint> validSquares;
    // Drawn with the frame: the picked-up piece and the hovered destination.
    std::vector<CBasePoint> markSquares;
};

// The squares a board window frames, in drawing order: the last move's, then the marks, each
// with whether it is a mark; squares off the board are left out.
inline std::vector<std::pair<CBasePoint, bool>> FramedSquares(const CBaseBoard& board,
                                                              const BoardMarks& marks) {
    std::vector<std::pair<CBasePoint, bool>> squares;
    for (CBasePoint square : board.LastMoveSquares())
        if (board.IsOnBoard(square))
            squares.push_back({square, false});
    for (CBasePoint square : marks.markSquares)
        if (board.IsOnBoard(square))
            squares.push_back({square, true});
    return squares;
}

} // namespace kelo
