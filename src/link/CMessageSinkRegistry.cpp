// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/CMessageSinkRegistry.h"

#include "link/CMessageRev.h"
#include "link/IMessageSink.h"
#include "ports/IEventLoop.h"

#include <algorithm>

namespace kelo {

namespace {
// One window's share of a message: given up exactly once, whether the posted task ran or the
// loop dropped it unrun.
struct Share {
    CMessageRev* message;
    explicit Share(CMessageRev* m) : message(m) {}
    Share(const Share&) = delete;
    Share& operator=(const Share&) = delete;
    ~Share() { message->Release(); }
};
} // namespace

CMessageSinkRegistry::CMessageSinkRegistry(IEventLoop& loop) : m_loop(loop) {}

CMessageSinkRegistry::~CMessageSinkRegistry() {
    for (auto& slot : m_slots)
        slot->sink = nullptr;
}

void CMessageSinkRegistry::RegisterSink(IMessageSink* sink) {
    if (sink == nullptr)
        return;
    const bool known = std::any_of(m_slots.begin(), m_slots.end(),
                                   [&](const auto& slot) { return slot->sink == sink; });
    if (!known)
        m_slots.push_back(std::make_shared<Slot>(Slot{sink}));
}

void CMessageSinkRegistry::UnregisterSink(IMessageSink* sink) {
    for (auto it = m_slots.begin(); it != m_slots.end(); ++it) {
        if ((*it)->sink == sink) {
            (*it)->sink = nullptr;
            m_slots.erase(it);
            return;
        }
    }
}

void CMessageSinkRegistry::HandOn(uint16_t type, const uint8_t* body, uint32_t length) {
    if (m_slots.empty())
        return;
    CMessageRev* message = CMessageRev::Create(type, body, length);
    message->SetRefCount(static_cast<uint32_t>(m_slots.size()));
    for (const auto& slot : m_slots) {
        auto share = std::make_shared<Share>(message);
        m_loop.Post([slot, share] {
            if (slot->sink != nullptr)
                slot->sink->OnMessageRev(*share->message);
        });
    }
}

} // namespace kelo
