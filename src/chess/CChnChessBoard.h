// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBaseBoard.h"

namespace kelo {

class CChnChessBoard : public CBaseBoard {
public:
    using CBaseBoard::CBaseBoard;
};

} // namespace kelo
