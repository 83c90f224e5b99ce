// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CChessDiagram.h"

#include "chess/ChessTypes.h"

namespace kelo {

namespace {
constexpr PieceKind WHITE_BACK_ROW[8] = {PieceKind::Rook,   PieceKind::Knight, PieceKind::Bishop,
                                         PieceKind::Queen,  PieceKind::King,   PieceKind::Bishop,
                                         PieceKind::Knight, PieceKind::Rook};
// Mirrored by the half-turn below, so both queens end on the d-file.
constexpr PieceKind BLACK_BACK_ROW[8] = {PieceKind::Rook,   PieceKind::Knight, PieceKind::Bishop,
                                         PieceKind::King,   PieceKind::Queen,  PieceKind::Bishop,
                                         PieceKind::Knight, PieceKind::Rook};
} // namespace

void CChessDiagram::SetUp(Colour colour, Colour bottomColour) {
    if (colour == Colour::None) {
        SetUp(Colour::White, bottomColour);
        SetUp(Colour::Black, bottomColour);
        return;
    }
    const PieceKind* backRow = colour == Colour::White ? WHITE_BACK_ROW : BLACK_BACK_ROW;
    for (int x = 0; x < 8; ++x) {
        CBasePoint p = OrientPoint(CBasePoint(x, 7), colour, bottomColour, 8, 8);
        AddPiece(p.Code(), CreatePiece(colour, backRow[x]));
    }
    for (int x = 0; x < 8; ++x) {
        CBasePoint p = OrientPoint(CBasePoint(x, 6), colour, bottomColour, 8, 8);
        AddPiece(p.Code(), CreatePiece(colour, PieceKind::Pawn));
    }
}

} // namespace kelo
