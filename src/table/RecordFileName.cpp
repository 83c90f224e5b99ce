// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/RecordFileName.h"

#include "base/CGbkConverter.h"

#include <cstdint>
#include <cstring>

namespace kelo {

namespace {

// The bytes of the UTF-8 character at i (1..4), 0 when the bytes there are not one.
size_t CharLength(const std::string& text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    const uint8_t lead = byte(i);
    size_t length = lead < 0x80         ? 1
                    : (lead >> 5) == 6  ? 2
                    : (lead >> 4) == 14 ? 3
                    : (lead >> 3) == 30 ? 4
                                        : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k)
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    return length;
}

bool SafeAscii(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::strchr("-_.+@=,()[]", c) != nullptr;
}

} // namespace

std::string SafeFileName(const std::string& nickname) {
    std::string out;
    for (size_t i = 0; i < nickname.size();) {
        const size_t length = CharLength(nickname, i);
        std::string piece = "_";
        if (length == 1 && SafeAscii(nickname[i])) {
            piece = nickname.substr(i, 1);
        } else if (length > 1) {
            // Other characters stay when the record's code page has them (CJK text does);
            // anything else could not be named in the index.
            const std::string character = nickname.substr(i, length);
            if (CGbkConverter::ToUtf8(CGbkConverter::ToGbk(character)) == character)
                piece = character;
        }
        if (out.size() + piece.size() > SAFE_NAME_BYTES)
            break;
        out += piece;
        i += length == 0 ? 1 : length;
    }
    // No hidden files and no "." or "..".
    if (!out.empty() && out[0] == '.')
        out[0] = '_';
    return out.empty() ? "_" : out;
}

std::string RecordTimeStamp(const std::tm& localTime) {
    char text[32];
    std::strftime(text, sizeof text, RECORD_TIME_STAMP, &localTime);
    return text;
}

bool ReadRecordTimeStamp(const std::string& stamp, std::tm& localTime) {
    // strptime alone would also take fewer digits or spaces.
    if (stamp.size() != 11 || stamp[6] != '_')
        return false;
    for (size_t i = 0; i < stamp.size(); ++i)
        if (i != 6 && (stamp[i] < '0' || stamp[i] > '9'))
            return false;
    localTime = std::tm{};
    const char* end = strptime(stamp.c_str(), RECORD_TIME_STAMP, &localTime);
    return end == stamp.c_str() + stamp.size();
}

} // namespace kelo
