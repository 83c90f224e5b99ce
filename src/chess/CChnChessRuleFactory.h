// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBaseRuleFactory.h"

namespace kelo {

// One shared, stateless rule object per kind.
class CChnChessRuleFactory : public CBaseRuleFactory {
public:
    CBaseRule* RuleFor(CBasePoint square, CBaseBoard& board) override;
    CBaseRule* RuleForKind(PieceKind kind) override;
};

} // namespace kelo
