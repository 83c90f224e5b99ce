// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelo {

class CMessageRev;

// A window that wants the received messages. It reads what it needs from the shared body
// (copying before converting from wire order, since the others read it too); the registry
// gives up the window's share when the call returns, also when the window ignores the type.
class IMessageSink {
public:
    virtual ~IMessageSink() = default;
    virtual void OnMessageRev(const CMessageRev& message) = 0;
};

} // namespace kelo
