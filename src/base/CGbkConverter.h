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
};

} // namespace kelo
