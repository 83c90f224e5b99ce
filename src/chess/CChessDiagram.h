// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chess/CBaseDiagram.h"

namespace kelo {

class CChessDiagram : public CBaseDiagram {
public:
    using CBaseDiagram::CBaseDiagram;
    void SetUp(Colour colour, Colour bottomColour) override;
};

} // namespace kelo
