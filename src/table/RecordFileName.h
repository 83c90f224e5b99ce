// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <string>

namespace kelo {

// Names of record files. Nicknames come from other people, so before one becomes part of a
// file name it is made safe: no path separators, no control characters, none of the characters
// a file system or a shell cannot take, no leading dot, a bounded length. CJK text stays.

// The longest part of a file name that one nickname gives, in bytes of UTF-8.
constexpr size_t SAFE_NAME_BYTES = 48;

// The UTF-8 nickname made fit for a file name; never empty, never "." or "..".
std::string SafeFileName(const std::string& nickname);

// "%y%m%d_%H%M": two-digit year, month, day, underscore, hour, minute.
std::string RecordTimeStamp(const std::tm& localTime);

} // namespace kelo
