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

// The time stamp at the end of a record's name: two-digit year, month, day, underscore, hour,
// minute ("081208_2105").
constexpr const char* RECORD_TIME_STAMP = "%y%m%d_%H%M";
std::string RecordTimeStamp(const std::tm& localTime);
// Reads back a stamp of exactly that form, with its ranges checked; false for anything else.
bool ReadRecordTimeStamp(const std::string& stamp, std::tm& localTime);

} // namespace kelo
