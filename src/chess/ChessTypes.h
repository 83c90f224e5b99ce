// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TableTypes.h"

#include <cstdint>

// The helpers of colours and piece kinds, and the flags of a move record.
namespace kelo {

inline Colour OppositeColour(Colour colour) {
    return colour == Colour::White ? Colour::Black : Colour::White;
}

// Letter of a kind in the move text; codes without a chess piece print as X.
constexpr const char KIND_LETTERS[] = "XKXBXNPRQ";
char KindLetter(PieceKind kind);

// Special field of a move record.
constexpr uint8_t SPECIAL_NONE = 0;
constexpr uint8_t SPECIAL_PROMOTE_QUEEN = 1;
constexpr uint8_t SPECIAL_PROMOTE_ROOK = 2;
constexpr uint8_t SPECIAL_PROMOTE_KNIGHT = 3;
constexpr uint8_t SPECIAL_PROMOTE_BISHOP = 4;
constexpr uint8_t SPECIAL_EN_PASSANT = 5;
constexpr uint8_t SPECIAL_CASTLE_QUEEN = 6;
constexpr uint8_t SPECIAL_CASTLE_KING = 7;

// Kind created by a promotion special (1..4), 0 for any other special.
PieceKind PromotionKind(uint8_t special);
// Promotion special for a chosen kind (queen, rook, knight, bishop), 0 for any other kind.
uint8_t PromotionSpecial(PieceKind kind);

// Flag bits of a move record.
constexpr uint8_t FLAG_CAPTURE = 1;
constexpr uint8_t FLAG_FIRST_MOVE = 2;
constexpr uint8_t FLAG_CHECK = 4;

// Names of the colours as the table shows them.
const char* ColourName(Colour colour);

} // namespace kelo
