// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TableTypes.h"

#include <cstdint>

namespace kelo {

// A piece of a board game: what it is and whose it is. Where it stands is the position's matter.
class CBasePiece {
public:
    CBasePiece(PieceKind kind, Colour colour, int16_t tag)
        : m_kind(kind), m_colour(colour), m_nTag(tag) {}
    virtual ~CBasePiece() = default;

    virtual bool DiffersInColour(const CBasePiece& other) const {
        return m_colour != other.m_colour;
    }
    virtual bool KindLessThan(const CBasePiece& other) const { return m_kind < other.m_kind; }
    virtual bool KindGreaterThan(const CBasePiece& other) const { return m_kind > other.m_kind; }
    virtual bool Equals(const CBasePiece& other) const {
        return m_kind == other.m_kind && m_colour == other.m_colour;
    }

    PieceKind m_kind;
    Colour m_colour;
    int16_t m_nTag;
    // Set until the piece's first move; carries castling rights and the pawn's double step.
    bool m_bUnmoved = true;
};

} // namespace kelo
