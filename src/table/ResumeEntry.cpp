// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/ResumeEntry.h"

#include "base/CGbkConverter.h"
#include "table/CRecordReader.h"
#include "table/CRecordWriter.h"

#include <algorithm>

namespace kelo {

namespace {

// Paths and names are short; a longer text in an index is damage.
constexpr size_t MAX_TEXT = 0x10000;
// flag, seat count, two one-byte prefixes, version.
constexpr size_t SMALLEST_ENTRY = 2 + 2 + 1 + 1 + 8;

} // namespace

std::vector<uint8_t> WriteIndex(const std::vector<ResumeEntry>& entries) {
    CRecordWriter out;
    const size_t count = std::min<size_t>(entries.size(), 0x7FFF);
    out.U16(static_cast<uint16_t>(count));
    for (size_t i = 0; i < count; ++i) {
        const ResumeEntry& entry = entries[i];
        out.I16(entry.flag);
        out.I16(entry.seatCount);
        out.Text(CGbkConverter::ToGbk(entry.path));
        out.Text(CGbkConverter::ToGbk(entry.key));
        out.Double(entry.version);
    }
    return out.Bytes();
}

bool ReadIndex(const uint8_t* data, size_t size, std::vector<ResumeEntry>& entries) {
    CRecordReader in(data, size);
    int16_t count = 0;
    if (!in.I16(count) || count < 0 || static_cast<size_t>(count) * SMALLEST_ENTRY > in.Left())
        return false;
    std::vector<ResumeEntry> read;
    for (int16_t i = 0; i < count; ++i) {
        ResumeEntry entry;
        std::string path, key;
        if (!in.I16(entry.flag) || !in.I16(entry.seatCount) || !in.Text(path, MAX_TEXT) ||
            !in.Text(key, MAX_TEXT) || !in.Double(entry.version))
            return false;
        if (entry.version != ResumeEntry::VERSION)
            continue;
        entry.path = CGbkConverter::ToUtf8(path);
        entry.key = CGbkConverter::ToUtf8(key);
        read.push_back(std::move(entry));
    }
    entries = std::move(read);
    return true;
}

} // namespace kelo
