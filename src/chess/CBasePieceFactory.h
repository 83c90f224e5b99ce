// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBasePiece.h"

#include <memory>

namespace kelo {

class CBasePieceFactory {
public:
    virtual ~CBasePieceFactory() = default;
    virtual std::unique_ptr<CBasePiece> Create(Colour colour, PieceKind kind, int16_t tag) = 0;
};

} // namespace kelo
