// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CCoordinateMove.h"

#include "chess/ChessTypes.h"

namespace kelo {

std::optional<CCoordinateMove> CCoordinateMove::Parse(const std::string& text) {
    if (text.size() != 4 && text.size() != 5)
        return std::nullopt;
    CCoordinateMove move;
    for (int i = 0; i < 2; ++i) {
        const char file = text[i * 2], rank = text[i * 2 + 1];
        if (file < 'a' || file > 'h' || rank < '1' || rank > '8')
            return std::nullopt;
        (i == 0 ? move.from : move.to) = CBasePoint(file - 'a', 8 - (rank - '0'));
    }
    if (text.size() == 5) {
        static const std::string letters = "qrnb";
        const size_t choice = letters.find(text[4]);
        if (choice == std::string::npos)
            return std::nullopt;
        move.special = static_cast<uint8_t>(SPECIAL_PROMOTE_QUEEN + choice);
    }
    return move;
}

std::string CCoordinateMove::Format(CBasePoint from, CBasePoint to, uint8_t special) {
    std::string text;
    for (const CBasePoint square : {from, to}) {
        text += static_cast<char>('a' + square.x);
        text += static_cast<char>('0' + 8 - square.y);
    }
    static const char promotion[] = " qrnb";
    if (special >= SPECIAL_PROMOTE_QUEEN && special <= SPECIAL_PROMOTE_BISHOP)
        text += promotion[special];
    return text;
}

} // namespace kelo
