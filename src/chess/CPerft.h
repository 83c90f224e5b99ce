// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TableTypes.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kelo {

class CBaseBoard;

// Counts the leaves of the legal move tree. Moves are found only by asking the rules'
// check-move for every piece and every destination (and each of the four promotions), so the
// counts test the rules themselves.
class CPerft {
public:
    explicit CPerft(CBaseBoard& board) : m_board(board) {}

    uint64_t Count(Colour colour, int depth);
    // The count below each legal first move, in coordinate form (e2e4, e7e8q).
    std::vector<std::pair<std::string, uint64_t>> Divide(Colour colour, int depth);

private:
    CBaseBoard& m_board;
};

} // namespace kelo
