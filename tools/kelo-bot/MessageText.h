// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace kelo {

// One message as the bot prints it: the type, then name=value fields of what its body holds.
// The body is in wire order and read only as far as its length goes.
std::string MessageText(uint16_t type, const uint8_t* body, uint32_t length);

} // namespace kelo
