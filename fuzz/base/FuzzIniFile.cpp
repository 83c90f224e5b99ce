// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the ini reader as a file. The first byte chooses how many of the
// following bytes name the key, so the fuzzer also varies the keys and sections searched for.
#include "base/CIniFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t keyLength = data[0] % 16;
    if (size < 1 + keyLength)
        return 0;
    const std::string key(reinterpret_cast<const char*>(data + 1), keyLength);
    const std::string text(reinterpret_cast<const char*>(data + 1 + keyLength),
                           size - 1 - keyLength);

    kelo::CIniFile ini;
    if (!ini.OpenText(text))
        return 0;
    for (const std::string& section : {std::string("chess"), std::string("chessgame"), key}) {
        bool flag = false;
        int32_t number = 0;
        std::string value;
        kelo::COLORREF colour = 0;
        kelo::CRect rect;
        kelo::CPoint point;
        kelo::CSize size2;
        ini.ReadBool(section, key, flag);
        ini.ReadInt(section, key, number);
        ini.ReadColor(section, key, colour);
        ini.ReadRect(section, key, rect);
        ini.ReadPoint(section, "size", point);
        ini.ReadSize(section, key, size2);
        if (ini.ReadString(section, key, value)) {
            // A value is trimmed and never holds a line end.
            if (!value.empty() && (value.front() == ' ' || value.back() == ' '))
                std::abort();
            if (value.find('\n') != std::string::npos)
                std::abort();
        }
    }
    int32_t numbers[4];
    kelo::CIniFile::ParseCommaList(text, numbers, 4);
    return 0;
}
