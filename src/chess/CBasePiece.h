#pragma once

#include "base/TableTypes.h"

#include <cstdint>

namespace kelo {

// A piece of a board game: what it is and whose it is. Where it stands is the position's matter.
class CBasePiece {
public:
    CBasePiece(PieceKind kind, Colour colour, int16_t tag)
        : m_nKind(kind), m_nColour(colour), m_nTag(tag) {}
    virtual ~CBasePiece() = default;

    virtual bool DiffersInColour(const CBasePiece& other) const {
        return m_nColour != other.m_nColour;
    }
    virtual bool KindLessThan(const CBasePiece& other) const { return m_nKind < other.m_nKind; }
    virtual bool KindGreaterThan(const CBasePiece& other) const { return m_nKind > other.m_nKind; }
    virtual bool Equals(const CBasePiece& other) const {
        return m_nKind == other.m_nKind && m_nColour == other.m_nColour;
    }

    PieceKind m_nKind;
    Colour m_nColour;
    int16_t m_nTag;
    // Set until the piece's first move; carries castling rights and the pawn's double step.
    uint8_t m_bUnmoved = 1;
};

} // namespace kelo
