#pragma once

#include "chess/CBaseBoard.h"

namespace kelo {

class CChnChessBoard : public CBaseBoard {
public:
    using CBaseBoard::CBaseBoard;

    bool IsOnBoard(CBasePoint square) const override {
        return square.Code() >= 0 && square.x >= 0 && square.x < m_nColumns && square.y >= 0 &&
               square.y < m_nRows;
    }
    CBasePoint OrientationTransform(CBasePoint p, Colour colour, Colour reference) const override {
        return OrientPoint(p, colour, reference, m_nColumns, m_nRows);
    }
};

} // namespace kelo
