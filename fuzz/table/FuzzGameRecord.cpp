// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as a record file. Whatever is read is written again and must read back
// as the same record: the reader never accepts what the writer would not give back.
#include "table/GameRecord.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kelo::GameRecord record;
    if (kelo::ReadRecord(data, size, record) != kelo::RecordError::None)
        return 0;
    const std::vector<uint8_t> written = kelo::WriteRecord(record);
    kelo::GameRecord again;
    if (kelo::ReadRecord(written.data(), written.size(), again) != kelo::RecordError::None ||
        !(again == record))
        std::abort();
    return 0;
}
