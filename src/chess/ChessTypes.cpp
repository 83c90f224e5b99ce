#include "chess/ChessTypes.h"

namespace kelo {

char KindLetter(int16_t kind) {
    if (kind < 0 || kind > 8)
        return 'X';
    return KIND_LETTERS[kind];
}

int16_t PromotionKind(uint8_t special) {
    switch (special) {
    case SPECIAL_PROMOTE_QUEEN:
        return KIND_QUEEN;
    case SPECIAL_PROMOTE_ROOK:
        return KIND_ROOK;
    case SPECIAL_PROMOTE_KNIGHT:
        return KIND_KNIGHT;
    case SPECIAL_PROMOTE_BISHOP:
        return KIND_BISHOP;
    default:
        return 0;
    }
}

uint8_t PromotionSpecial(int16_t kind) {
    switch (kind) {
    case KIND_QUEEN:
        return SPECIAL_PROMOTE_QUEEN;
    case KIND_ROOK:
        return SPECIAL_PROMOTE_ROOK;
    case KIND_KNIGHT:
        return SPECIAL_PROMOTE_KNIGHT;
    case KIND_BISHOP:
        return SPECIAL_PROMOTE_BISHOP;
    default:
        return SPECIAL_NONE;
    }
}

const char* ColourName(int16_t colour) {
    return colour == COLOUR_WHITE ? "白方" : "黑方";
}

} // namespace kelo
