// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the GBK converter in both directions and checks what the
// converter promises: valid UTF-8 out of decoding, and cuts that stay within their limit.
#include "base/CGbkConverter.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool IsValidUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<uint8_t>(text[i]);
        size_t length = c < 0x80                 ? 1
                        : c >= 0xc2 && c <= 0xdf ? 2
                        : c >= 0xe0 && c <= 0xef ? 3
                        : c >= 0xf0 && c <= 0xf4 ? 4
                                                 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<uint8_t>(text[i + k]) & 0xc0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const std::string utf8 = kelo::CGbkConverter::ToUtf8(bytes);
    if (!IsValidUtf8(utf8))
        std::abort();
    kelo::CGbkConverter::ToGbk(utf8);
    kelo::CGbkConverter::ToGbk(bytes);

    const size_t limit = size == 0 ? 0 : data[0] % (size + 1);
    const std::string cut = kelo::CGbkConverter::CutGbk(bytes, limit);
    if (cut.size() > limit || bytes.compare(0, cut.size(), cut) != 0)
        std::abort();
    // Cutting never drops a byte it had room for, except the first half of a pair.
    if (cut.size() + 1 < limit && cut.size() < bytes.size())
        std::abort();
    return 0;
}
