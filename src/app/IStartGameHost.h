// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace kelo {

// What the hall interface needs from the rest of the program: the table window and its chat.
class IStartGameHost {
public:
    virtual ~IStartGameHost() = default;
    // Creates the table window on the first call, shows it again on later ones, then starts
    // the connection to the game server.
    virtual void ShowWindow() = 0;
    virtual bool HasMainWindow() const = 0;
    // A linked advertisement line: the 44-byte chat header, the link and the text (GBK).
    virtual void ShowAdvMessage(const std::string& header, const std::string& link,
                                const std::string& text) = 0;
    // A red system line in the chat (GBK).
    virtual void ShowInstantMessage(const std::string& text) = 0;
};

// Receives the hall interface's event.
class IStartGameEvents {
public:
    virtual ~IStartGameEvents() = default;
    virtual void AgreeOrNot(int16_t roomno, int16_t isagree, int32_t joinedId) = 0;
};

} // namespace kelo
