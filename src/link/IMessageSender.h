// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

namespace kelo {

// Where the table's outgoing messages go. The body is already in wire byte order.
class IMessageSender {
public:
    virtual ~IMessageSender() = default;
    virtual void SendMessage(uint16_t type, const uint8_t* body, size_t length) = 0;
};

} // namespace kelo
