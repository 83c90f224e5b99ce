// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TableTypes.h"

#include <cstdint>
#include <string>

namespace kelo {

class CBaseDiagram;

// Sets up a position from Forsyth-Edwards Notation (bottom colour White). Castling rights
// become the unmoved flags of king and rooks, pawns on their home rank are unmoved, and an
// en-passant square becomes the opponent's double step as the last move.
class CFenReader {
public:
    struct Result {
        bool ok = false;
        Colour sideToMove = Colour::White;
        std::string error;
    };
    // Resets the position first. On failure the position is left empty and error names the
    // fault.
    static Result Load(const std::string& fen, CBaseDiagram& position);
};

} // namespace kelo
