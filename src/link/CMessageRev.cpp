// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/CMessageRev.h"

#include <cstring>

namespace kelo {

CMessageRev* CMessageRev::Create(uint16_t type, const uint8_t* body, uint32_t length) {
    auto* message = new CMessageRev;
    message->m_head.type = type;
    message->m_head.length = body != nullptr ? length : 0;
    if (message->m_head.length > 0) {
        message->m_pBody = std::make_unique<uint8_t[]>(length);
        std::memcpy(message->m_pBody.get(), body, length);
    }
    return message;
}

void CMessageRev::Release() {
    if (m_nRefCount == 0)
        return;
    if (--m_nRefCount == 0)
        delete this;
}

} // namespace kelo
