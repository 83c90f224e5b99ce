// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/ChessTypes.h"

namespace kelo {

char KindLetter(PieceKind kind) {
    const int16_t code = WireValue(kind);
    if (code < 0 || code > 8)
        return 'X';
    return KIND_LETTERS[code];
}

PieceKind PromotionKind(uint8_t special) {
    switch (special) {
    case SPECIAL_PROMOTE_QUEEN:
        return PieceKind::Queen;
    case SPECIAL_PROMOTE_ROOK:
        return PieceKind::Rook;
    case SPECIAL_PROMOTE_KNIGHT:
        return PieceKind::Knight;
    case SPECIAL_PROMOTE_BISHOP:
        return PieceKind::Bishop;
    default:
        return PieceKind::None;
    }
}

uint8_t PromotionSpecial(PieceKind kind) {
    switch (kind) {
    case PieceKind::Queen:
        return SPECIAL_PROMOTE_QUEEN;
    case PieceKind::Rook:
        return SPECIAL_PROMOTE_ROOK;
    case PieceKind::Knight:
        return SPECIAL_PROMOTE_KNIGHT;
    case PieceKind::Bishop:
        return SPECIAL_PROMOTE_BISHOP;
    default:
        return SPECIAL_NONE;
    }
}

const char* ColourName(Colour colour) {
    return colour == Colour::White ? "白方" : "黑方";
}

} // namespace kelo
