// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBasePoint.h"

#include <cstdint>

namespace kelo {

class CBaseBoard;
class CBaseRule;

class CBaseRuleFactory {
public:
    virtual ~CBaseRuleFactory() = default;
    // The rule for the piece on the square, or none for an empty square or a kind without
    // rule.
    virtual CBaseRule* RuleFor(CBasePoint square, CBaseBoard& board) = 0;
    virtual CBaseRule* RuleForKind(PieceKind kind) = 0;
};

} // namespace kelo
