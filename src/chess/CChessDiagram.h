#pragma once

#include "chess/CBaseDiagram.h"

namespace kelo {

class CChessDiagram : public CBaseDiagram {
public:
    using CBaseDiagram::CBaseDiagram;
    void SetUp(int16_t colour, int16_t bottomColour) override;
};

} // namespace kelo
