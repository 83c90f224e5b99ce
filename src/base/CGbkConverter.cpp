// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CGbkConverter.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>

namespace kelo {

namespace {

// One iconv descriptor per direction and thread: opening one is slow, and a descriptor holds
// conversion state that must not be shared between threads.
class CIconv {
public:
    CIconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~CIconv() {
        if (Valid())
            iconv_close(m_cd);
    }
    CIconv(const CIconv&) = delete;
    CIconv& operator=(const CIconv&) = delete;

    bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts input; at each byte that cannot be converted, appends replacement and skips as
    // many bytes as skipBad says.
    template <typename SkipBad>
    std::string Convert(const std::string& input, const char* replacement, SkipBad skipBad) {
        std::string output;
        if (!Valid())
            return output;
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char buffer[512];
        while (inLeft > 0) {
            char* out = buffer;
            size_t outLeft = sizeof(buffer);
            const size_t result = iconv(m_cd, &in, &inLeft, &out, &outLeft);
            const int error = errno;
            output.append(buffer, static_cast<size_t>(out - buffer));
            if (result != static_cast<size_t>(-1))
                break;
            if (error == E2BIG)
                continue;
            // EILSEQ: a bad sequence; EINVAL: a sequence cut off by the end of the input.
            output += replacement;
            const size_t skip = error == EINVAL ? inLeft : skipBad(in, inLeft);
            in += skip;
            inLeft -= skip;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        // Flush any shift state (none for these encodings, but it costs nothing).
        char* out = buffer;
        size_t outLeft = sizeof(buffer);
        iconv(m_cd, nullptr, nullptr, &out, &outLeft);
        output.append(buffer, static_cast<size_t>(out - buffer));
        return output;
    }

private:
    iconv_t m_cd;
};

// Length of the well-formed UTF-8 character at p, or 0 if there is none.
size_t Utf8Length(const char* p, size_t left) {
    const auto b = [&](size_t i) { return static_cast<uint8_t>(p[i]); };
    const auto tail = [&](size_t i) { return i < left && (b(i) & 0xc0) == 0x80; };
    const uint8_t lead = b(0);
    if (lead < 0x80)
        return 1;
    if (lead >= 0xc2 && lead <= 0xdf)
        return tail(1) ? 2 : 0;
    if (lead >= 0xe0 && lead <= 0xef) {
        if (!tail(1) || !tail(2))
            return 0;
        // Overlong forms and surrogates are not characters.
        if ((lead == 0xe0 && b(1) < 0xa0) || (lead == 0xed && b(1) >= 0xa0))
            return 0;
        return 3;
    }
    if (lead >= 0xf0 && lead <= 0xf4) {
        if (!tail(1) || !tail(2) || !tail(3))
            return 0;
        if ((lead == 0xf0 && b(1) < 0x90) || (lead == 0xf4 && b(1) >= 0x90))
            return 0;
        return 4;
    }
    return 0;
}

bool IsGbkLead(uint8_t c) {
    return c >= 0x81 && c <= 0xfe;
}
bool IsGbkTrail(uint8_t c) {
    return c >= 0x40 && c <= 0xfe && c != 0x7f;
}

} // namespace

std::string CGbkConverter::ToUtf8(const std::string& gbk) {
    thread_local CIconv decoder("UTF-8", "GBK");
    // Skipping only the bad byte keeps an ASCII byte that follows a stray lead byte.
    return decoder.Convert(gbk, "\xEF\xBF\xBD", [](const char*, size_t) { return size_t{1}; });
}

std::string CGbkConverter::ToGbk(const std::string& utf8) {
    thread_local CIconv encoder("GBK", "UTF-8");
    // A whole character that GBK lacks becomes one "?", as does each byte that is not UTF-8.
    return encoder.Convert(utf8, "?", [](const char* p, size_t left) {
        const size_t length = Utf8Length(p, left);
        return length == 0 ? size_t{1} : length;
    });
}

std::string CGbkConverter::CutGbk(const std::string& gbk, size_t maxBytes) {
    size_t end = 0;
    while (end < gbk.size()) {
        const bool pair = end + 1 < gbk.size() && IsGbkLead(static_cast<uint8_t>(gbk[end])) &&
                          IsGbkTrail(static_cast<uint8_t>(gbk[end + 1]));
        const size_t step = pair ? 2 : 1;
        if (end + step > maxBytes)
            break;
        end += step;
    }
    return gbk.substr(0, end);
}

std::string CGbkConverter::FromField(const char* field, size_t size) {
    return std::string(field, strnlen(field, size));
}

void CGbkConverter::ToField(char* field, size_t size, const std::string& gbk) {
    if (size == 0)
        return;
    const std::string text = CutGbk(gbk, size - 1);
    std::memcpy(field, text.data(), text.size());
    std::memset(field + text.size(), 0, size - text.size());
}

} // namespace kelo
