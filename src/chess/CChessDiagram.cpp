#include "chess/CChessDiagram.h"

#include "app/CGameContext.h"
#include "chess/ChessTypes.h"

namespace kelo {

namespace {
constexpr int16_t WHITE_BACK_ROW[8] = {KIND_ROOK, KIND_KNIGHT, KIND_BISHOP, KIND_QUEEN,
                                       KIND_KING, KIND_BISHOP, KIND_KNIGHT, KIND_ROOK};
// Mirrored by the half-turn below, so both queens end on the d-file.
constexpr int16_t BLACK_BACK_ROW[8] = {KIND_ROOK,  KIND_KNIGHT, KIND_BISHOP, KIND_KING,
                                       KIND_QUEEN, KIND_BISHOP, KIND_KNIGHT, KIND_ROOK};
} // namespace

void CChessDiagram::SetUp(int16_t colour) {
    if (colour == -1) {
        SetUp(COLOUR_WHITE);
        SetUp(COLOUR_BLACK);
        return;
    }
    const int16_t bottom = m_context.m_nBottomColour;
    const int16_t* backRow = colour == COLOUR_WHITE ? WHITE_BACK_ROW : BLACK_BACK_ROW;
    for (int x = 0; x < 8; ++x) {
        CBasePoint p = OrientPoint(CBasePoint(x, 7), colour, bottom, 8, 8);
        AddPiece(p.Code(), CreatePiece(colour, backRow[x]));
    }
    for (int x = 0; x < 8; ++x) {
        CBasePoint p = OrientPoint(CBasePoint(x, 6), colour, bottom, 8, 8);
        AddPiece(p.Code(), CreatePiece(colour, KIND_PAWN));
    }
}

} // namespace kelo
