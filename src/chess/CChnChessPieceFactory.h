// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBasePieceFactory.h"
#include "chess/CChnChessPiece.h"

namespace kelo {

class CChnChessPieceFactory : public CBasePieceFactory {
public:
    std::unique_ptr<CBasePiece> Create(Colour colour, PieceKind kind, int16_t tag) override {
        return std::make_unique<CChnChessPiece>(kind, colour, tag);
    }
};

} // namespace kelo
