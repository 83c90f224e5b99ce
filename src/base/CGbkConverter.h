// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace kelo {

// Converts between GBK, the encoding of texts on the wire and in files that peers share, and
// UTF-8, the encoding of the code and the screen. Damaged input never fails a conversion: a
// byte sequence that is not GBK decodes to U+FFFD, and a character that GBK lacks (or a byte
// that is not UTF-8) encodes to "?".
class CGbkConverter {
public:
    static std::string ToUtf8(const std::string& gbk);
    static std::string ToGbk(const std::string& utf8);

    // The longest prefix of at most maxBytes bytes that does not split a two-byte character,
    // for fixed-size text fields.
    static std::string CutGbk(const std::string& gbk, size_t maxBytes);

    // Fixed-size text fields of records (names, addresses): the text of a field runs up to its
    // zero byte and never past the field; a text put into a field is cut to leave room for the
    // zero byte, never splitting a character, and the rest of the field is zeroed.
    static std::string FromField(const char* field, size_t size);
    static void ToField(char* field, size_t size, const std::string& gbk);
    template <size_t N> static std::string FromField(const char (&field)[N]) {
        return FromField(field, N);
    }
    template <size_t N> static void ToField(char (&field)[N], const std::string& gbk) {
        ToField(field, N, gbk);
    }
};

} // namespace kelo
