// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace kelo {

// Red, the colour of the table's system lines in the chat that call for attention: the
// connection, a broken connection, the play-time notices.
constexpr uint32_t CHAT_SYSTEM_COLOUR = 255;
// Black, the colour of the other lines the table writes itself (people coming and going).
constexpr uint32_t CHAT_TEXT_COLOUR = 0;

// Where the table's chat lines go (the chat view of the table window).
class IChatSink {
public:
    virtual ~IChatSink() = default;
    // A system line; colour is a 0x00BBGGRR value. Text in UTF-8.
    virtual void AddSystemLine(const std::string& text, uint32_t colour) = 0;
};

} // namespace kelo
