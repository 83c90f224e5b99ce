// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace kelo {

// Reads what CRecordWriter writes from bytes that came from a file and are not trusted: a value
// that would reach past the end fails the read and every later one, and leaves its output as
// it was.
class CRecordReader {
public:
    CRecordReader(const uint8_t* data, size_t size) : m_pData(data), m_nSize(size) {}

    bool U16(uint16_t& v) {
        if (!Has(2))
            return false;
        v = static_cast<uint16_t>(m_pData[m_nAt] | m_pData[m_nAt + 1] << 8);
        m_nAt += 2;
        return true;
    }
    bool I16(int16_t& v) {
        uint16_t u = 0;
        if (!U16(u))
            return false;
        v = static_cast<int16_t>(u);
        return true;
    }
    bool U32(uint32_t& v) {
        uint16_t low = 0, high = 0;
        if (!Has(4) || !U16(low) || !U16(high))
            return false;
        v = static_cast<uint32_t>(high) << 16 | low;
        return true;
    }
    bool I32(int32_t& v) {
        uint32_t u = 0;
        if (!U32(u))
            return false;
        v = static_cast<int32_t>(u);
        return true;
    }
    bool Double(double& v) {
        uint32_t low = 0, high = 0;
        if (!Has(8) || !U32(low) || !U32(high))
            return false;
        const uint64_t bits = static_cast<uint64_t>(high) << 32 | low;
        std::memcpy(&v, &bits, sizeof v);
        return true;
    }
    // A text whose length prefix names more bytes than are left, or more than maxLength, or
    // uses the prefix 0xFF 0xFFFE (which this format never writes) fails.
    bool Text(std::string& out, size_t maxLength) {
        if (!Has(1))
            return false;
        const size_t start = m_nAt;
        size_t length = m_pData[m_nAt++];
        if (length == 0xFF) {
            uint16_t wide = 0;
            if (!U16(wide))
                return Fail(start);
            length = wide;
            if (wide == 0xFFFE)
                return Fail(start);
            if (wide == 0xFFFF) {
                uint32_t full = 0;
                if (!U32(full))
                    return Fail(start);
                length = full;
            }
        }
        if (length > maxLength || !Has(length))
            return Fail(start);
        out.assign(reinterpret_cast<const char*>(m_pData + m_nAt), length);
        m_nAt += length;
        return true;
    }

    size_t Left() const { return m_bFailed ? 0 : m_nSize - m_nAt; }
    bool Failed() const { return m_bFailed; }

private:
    bool Has(size_t count) {
        if (m_bFailed || count > m_nSize - m_nAt) {
            m_bFailed = true;
            return false;
        }
        return true;
    }
    bool Fail(size_t start) {
        m_nAt = start;
        m_bFailed = true;
        return false;
    }

    const uint8_t* m_pData;
    size_t m_nSize;
    size_t m_nAt = 0;
    bool m_bFailed = false;
};

} // namespace kelo
