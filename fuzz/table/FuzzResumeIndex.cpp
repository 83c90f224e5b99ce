// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as the index of adjourned games; what is read is written and read again
// without loss of an entry.
#include "table/ResumeEntry.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<kelo::ResumeEntry> entries;
    if (!kelo::ReadIndex(data, size, entries))
        return 0;
    const std::vector<uint8_t> written = kelo::WriteIndex(entries);
    std::vector<kelo::ResumeEntry> again;
    if (!kelo::ReadIndex(written.data(), written.size(), again) || again.size() != entries.size())
        std::abort();
    return 0;
}
