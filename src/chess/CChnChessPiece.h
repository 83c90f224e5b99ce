// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBasePiece.h"

namespace kelo {

class CChnChessPiece : public CBasePiece {
public:
    using CBasePiece::CBasePiece;
    ~CChnChessPiece() override = default;
};

} // namespace kelo
