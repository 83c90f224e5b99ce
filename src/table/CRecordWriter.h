// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace kelo {

// Builds the bytes of a record file or of the adjourned-game index: integers and doubles
// little-endian whatever the machine, texts with their length prefix and no terminating zero.
class CRecordWriter {
public:
    void U16(uint16_t v) {
        m_bytes.push_back(static_cast<uint8_t>(v));
        m_bytes.push_back(static_cast<uint8_t>(v >> 8));
    }
    void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
    void U32(uint32_t v) {
        U16(static_cast<uint16_t>(v));
        U16(static_cast<uint16_t>(v >> 16));
    }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void Double(double v) {
        uint64_t bits = 0;
        static_assert(sizeof bits == sizeof v);
        std::memcpy(&bits, &v, sizeof bits);
        U32(static_cast<uint32_t>(bits));
        U32(static_cast<uint32_t>(bits >> 32));
    }
    // One byte below 255; else 0xFF and a 16-bit length below 0xFFFE; else 0xFF, 0xFFFF and a
    // 32-bit length.
    void Text(const std::string& bytes) {
        const size_t length = bytes.size();
        if (length < 0xFF) {
            m_bytes.push_back(static_cast<uint8_t>(length));
        } else if (length < 0xFFFE) {
            m_bytes.push_back(0xFF);
            U16(static_cast<uint16_t>(length));
        } else {
            m_bytes.push_back(0xFF);
            U16(0xFFFF);
            U32(static_cast<uint32_t>(length));
        }
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    }

    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

} // namespace kelo
