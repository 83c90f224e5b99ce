// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelo {

// One adjourned game in the index: the name the user gave it and where its record lies. In
// memory the texts are UTF-8 (the path is a name on disk); the index file keeps them in GBK.
struct ResumeEntry {
    static constexpr double VERSION = 1.1;

    std::string key;
    int16_t seatCount = 2;
    std::string path;
    int16_t flag = 1;
    double version = VERSION;

    bool operator==(const ResumeEntry&) const = default;
};

// The index file's bytes: the entry count, then per entry flag, seat count, path, key and
// version.
std::vector<uint8_t> WriteIndex(const std::vector<ResumeEntry>& entries);
// Reads a whole index file; entries of another version are dropped, the rest kept in file
// order. False, with entries left as they were, when a count or a length reaches past the end.
bool ReadIndex(const uint8_t* data, size_t size, std::vector<ResumeEntry>& entries);

} // namespace kelo
