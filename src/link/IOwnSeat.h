// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace kelo {

// Where the sender learns who it sends for (the people of the table know it).
class IOwnSeat {
public:
    virtual ~IOwnSeat() = default;
    // The own id and seat; false while the own person is not at the table.
    virtual bool OwnSeat(uint32_t& id, uint16_t& seat) const = 0;
};

} // namespace kelo
