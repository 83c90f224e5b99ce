// SPDX-License-Identifier: GPL-3.0-or-later
#include "chess/CChnChessRuleFactory.h"

#include "chess/CBaseBoard.h"
#include "chess/CPieceBishop.h"
#include "chess/CPieceKing.h"
#include "chess/CPieceKnight.h"
#include "chess/CPiecePawn.h"
#include "chess/CPieceQueen.h"
#include "chess/CPieceRook.h"
#include "chess/ChessTypes.h"

namespace kelo {

namespace {
// Rules hold no state, so one object of each serves every factory until the process ends.
CPieceKing king;
CPieceBishop bishop;
CPieceKnight knight;
CPiecePawn pawn;
CPieceRook rook;
CPieceQueen queen;
} // namespace

CBaseRule* CChnChessRuleFactory::RuleForKind(PieceKind kind) {
    switch (kind) {
    case PieceKind::King:
        return &king;
    case PieceKind::Bishop:
        return &bishop;
    case PieceKind::Knight:
        return &knight;
    case PieceKind::Pawn:
        return &pawn;
    case PieceKind::Rook:
        return &rook;
    case PieceKind::Queen:
        return &queen;
    default:
        return nullptr;
    }
}

CBaseRule* CChnChessRuleFactory::RuleFor(CBasePoint square, CBaseBoard& board) {
    const CBasePiece* piece = board.PieceAt(square);
    return piece != nullptr ? RuleForKind(piece->m_kind) : nullptr;
}

} // namespace kelo
