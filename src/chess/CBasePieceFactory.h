#pragma once

#include "chess/CBasePiece.h"

#include <memory>

namespace kelo {

class CBasePieceFactory {
public:
    virtual ~CBasePieceFactory() = default;
    virtual std::unique_ptr<CBasePiece> Create(int16_t colour, int16_t kind, int16_t tag) = 0;
};

} // namespace kelo
