#include "chess/CChessDiagram.h"

#include "chess/ChessTypes.h"

namespace kelo {

namespace {
constexpr int16_t WHITE_BACK_ROW[8] = {KIND_ROOK, KIND_KNIGHT, KIND_BISHOP, KIND_QUEEN,
                                       KIND_KING, KIND_BISHOP, KIND_KNIGHT, KIND_ROOK};
// Mirrored by the half-turn below, so both queens end on the d-file.
constexpr int16_t BLACK_BACK_ROW[8] = {KIND_ROOK,  KIND_KNIGHT, KIND_BISHOP, KIND_KING,
                                       KIND_QUEEN, KIND_BISHOP, KIND_KNIGHT, KIND_ROOK};
} // namespace

void CChessDiagram::SetUp(int16_t colour, int16_t bottomColour) {
    if (colour == -1) {
        SetUp(COLOUR_WHITE, bottomColour);
        SetUp(COLOUR_BLACK, bottomColour);
        return;
    }
    const int16_t* backRow = colour == COLOUR_WHITE ? WHITE_BACK_ROW : BLACK_BACK_ROW;
    for (int x = 0; x < 8; ++x) {
        CBasePoint p = OrientPoint(CBasePoint(x, 7), colour, bottomColour, 8, 8);
        AddPiece(p.Code(), CreatePiece(colour, backRow[x]));
    }
    for (int x = 0; x < 8; ++x) {
        CBasePoint p = OrientPoint(CBasePoint(x, 6), colour, bottomColour, 8, 8);
        AddPiece(p.Code(), CreatePiece(colour, KIND_PAWN));
    }
}

} // namespace kelo
