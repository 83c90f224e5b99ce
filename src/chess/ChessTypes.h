#pragma once

#include <cstdint>

// Colours, piece kinds and the flags of a move record, as the whole client uses them.
namespace kelo {

constexpr int16_t COLOUR_WHITE = 0;
constexpr int16_t COLOUR_BLACK = 1;
constexpr int16_t COLOUR_NONE = -1;

inline int16_t OppositeColour(int16_t colour) {
    return static_cast<int16_t>(1 - colour);
}

constexpr int16_t KIND_KING = 1;
constexpr int16_t KIND_BISHOP = 3;
constexpr int16_t KIND_KNIGHT = 5;
constexpr int16_t KIND_PAWN = 6;
constexpr int16_t KIND_ROOK = 7;
constexpr int16_t KIND_QUEEN = 8;

// Letter of a kind in the move text; codes without a chess piece print as X.
constexpr const char KIND_LETTERS[] = "XKXBXNPRQ";
char KindLetter(int16_t kind);

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
int16_t PromotionKind(uint8_t special);
// Promotion special for a chosen kind (queen, rook, knight, bishop), 0 for any other kind.
uint8_t PromotionSpecial(int16_t kind);

// Flag bits of a move record.
constexpr uint8_t FLAG_CAPTURE = 1;
constexpr uint8_t FLAG_FIRST_MOVE = 2;
constexpr uint8_t FLAG_CHECK = 4;

// Names of the colours as the table shows them.
const char* ColourName(int16_t colour);

} // namespace kelo
