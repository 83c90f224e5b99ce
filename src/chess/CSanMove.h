// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TableTypes.h"
#include "chess/MoveRecord.h"

#include <optional>
#include <string>
#include <vector>

namespace kelo {

class CBaseBoard;

// Moves in standard algebraic notation (Nf3, exd6, O-O, c8=N+, Qh4#), the notation other chess
// programs read. Everything it knows of legality comes from the board's own rules.
class CSanMove {
public:
    // Every legal move of the colour in the board's position, promotions once per piece.
    static std::vector<MoveRecord> LegalMoves(CBaseBoard& board, Colour colour);
    // The notation of a legal move, without the check or mate sign.
    static std::string Format(CBaseBoard& board, Colour colour, const MoveRecord& move);
    // The legal move that the notation names; check and mate signs and the annotations !? are
    // ignored, "0-0" is read as castling. None when no legal move or more than one fits.
    static std::optional<MoveRecord> Parse(CBaseBoard& board, Colour colour,
                                           const std::string& text);
    // Every legal move that the notation names, so that a caller can tell a move that does not
    // fit from one that fits several; None when the text is not notation at all.
    static std::optional<std::vector<MoveRecord>> Matches(CBaseBoard& board, Colour colour,
                                                          const std::string& text);
    // Plays a legal move as a received one (ply count up, the referee judging) and returns its
    // notation with "+" for check and "#" for mate; empty when the move was refused.
    static std::string Play(CBaseBoard& board, Colour colour, const MoveRecord& move);
    // The square's name (e4) in the model orientation; "??" off the board.
    static std::string SquareName(CBasePoint square);
};

} // namespace kelo
