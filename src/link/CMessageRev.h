// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/MSG_HEAD.h"

#include <cstdint>
#include <memory>

namespace kelo {

// One received message as the windows get it: type, length and a copy of the body in wire byte
// order. All windows share the one copy; each gives up its share once, and the last one frees
// it.
class CMessageRev {
public:
    // A message with a count of 0; the body bytes are copied.
    static CMessageRev* Create(uint16_t type, const uint8_t* body, uint32_t length);
    virtual ~CMessageRev() = default;

    void SetRefCount(uint32_t count) { m_nRefCount = count; }
    uint32_t RefCount() const { return m_nRefCount; }
    // Gives up one share; the message deletes itself when the count drops from 1 to 0.
    void Release();

    uint16_t Type() const { return m_head.type; }
    // The number of body bytes held; never more than Body() points to.
    uint32_t Length() const { return m_head.length; }
    // Null when the length is 0.
    const uint8_t* Body() const { return m_pBody.get(); }

    MSG_HEAD m_head;

private:
    CMessageRev() = default;

    std::unique_ptr<uint8_t[]> m_pBody;
    uint32_t m_nRefCount = 0;
};

} // namespace kelo
