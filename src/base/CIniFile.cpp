// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CIniFile.h"

#include "base/FileBytes.h"

#include <limits>
#include <unistd.h>

namespace kelo {

CIniFile::~CIniFile() {
    Close();
}

bool CIniFile::OpenForRead() {
    Close();
    // Only a regular file is read, so that a FIFO or a device in its place never blocks.
    std::vector<uint8_t> bytes;
    if (ReadFileBytes(FullPath(), MAX_FILE_SIZE, bytes) != FileReadResult::Read)
        return false;
    SplitLines(std::string(bytes.begin(), bytes.end()));
    m_bReading = true;
    return true;
}

bool CIniFile::OpenText(const std::string& text) {
    Close();
    if (text.size() > MAX_FILE_SIZE)
        return false;
    SplitLines(text);
    m_bReading = true;
    return true;
}

void CIniFile::SplitLines(const std::string& text) {
    m_vecLines.clear();
    m_nNextLine = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const size_t next = end == std::string::npos ? text.size() : end + 1;
        if (end == std::string::npos)
            end = text.size();
        // Both CR LF and LF end a line; a CR elsewhere is part of the line.
        if (end > start && text[end - 1] == '\r')
            --end;
        m_vecLines.emplace_back(text, start, end - start);
        start = next;
    }
}

bool CIniFile::OpenForWrite() {
    Close();
    // The file is made whole at Close; a folder that cannot take it is refused now, as opening
    // the file itself would be.
    const std::string folder = m_strPath.empty() ? "." : m_strPath;
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return false;
    m_bWriting = true;
    m_bWriteFailed = false;
    m_strWritten.clear();
    return true;
}

bool CIniFile::Close() {
    if (m_bReading) {
        m_bReading = false;
        m_vecLines.clear();
        m_nNextLine = 0;
        return true;
    }
    if (!m_bWriting)
        return true;
    m_bWriting = false;
    const std::vector<uint8_t> bytes(m_strWritten.begin(), m_strWritten.end());
    m_strWritten.clear();
    return !m_bWriteFailed && ReplaceFileBytes(FullPath(), bytes);
}

bool CIniFile::FindSection(const std::string& section) {
    if (!m_bReading)
        return false;
    for (m_nNextLine = 0; m_nNextLine < m_vecLines.size();) {
        if (m_vecLines[m_nNextLine++].find(section) != std::string::npos)
            return true;
    }
    return false;
}

bool CIniFile::WriteLine(const std::string& line) {
    if (!m_bWriting)
        return false;
    if (m_strWritten.size() + line.size() + 2 > MAX_FILE_SIZE) {
        // It could never be read back.
        m_bWriteFailed = true;
        return false;
    }
    m_strWritten += line;
    m_strWritten += "\r\n";
    return true;
}

bool CIniFile::WriteSection(const std::string& section) {
    return WriteLine("[" + section + "]");
}

bool CIniFile::WriteBool(const std::string& key, bool value) {
    return WriteLine(key + "=" + (value ? "1" : "0"));
}

bool CIniFile::WriteInt(const std::string& key, int32_t value) {
    return WriteLine(key + "=" + std::to_string(value));
}

bool CIniFile::WriteString(const std::string& key, const std::string& value) {
    if (value.find_first_of("\r\n") != std::string::npos)
        return false;
    return WriteLine(key + "=" + value);
}

bool CIniFile::ReadValue(const std::string& section, const std::string& key, KeyMatch match,
                         std::string& value) {
    if (!FindSection(section))
        return false;
    // The scan does not stop at the next section line: the first matching entry anywhere
    // below the section line wins.
    while (m_nNextLine < m_vecLines.size()) {
        const std::string& line = m_vecLines[m_nNextLine++];
        const size_t equals = line.find('=');
        if (equals == std::string::npos || equals == 0 || line.find('[') != std::string::npos)
            continue;
        const std::string keyPart = line.substr(0, equals);
        const bool matched = match == KeyMatch::Contains ? keyPart.find(key) != std::string::npos
                                                         : keyPart.starts_with(key);
        if (!matched)
            continue;
        value = TrimSpaces(line.substr(equals + 1));
        return true;
    }
    return false;
}

bool CIniFile::ReadBool(const std::string& section, const std::string& key, bool& value) {
    std::string text;
    if (!ReadValue(section, key, KeyMatch::Contains, text))
        return false;
    value = text == "1";
    return true;
}

bool CIniFile::ReadInt(const std::string& section, const std::string& key, int32_t& value) {
    std::string text;
    if (!ReadValue(section, key, KeyMatch::Contains, text))
        return false;
    value = ParseInt(text);
    return true;
}

bool CIniFile::ReadString(const std::string& section, const std::string& key, std::string& value) {
    return ReadValue(section, key, KeyMatch::BeginsWith, value);
}

bool CIniFile::ReadColor(const std::string& section, const std::string& key, COLORREF& value) {
    std::string text;
    if (!ReadString(section, key, text))
        return false;
    int32_t rgb[3];
    ParseCommaList(text, rgb, 3);
    value = MakeColor(static_cast<uint8_t>(rgb[0]), static_cast<uint8_t>(rgb[1]),
                      static_cast<uint8_t>(rgb[2]));
    return true;
}

bool CIniFile::ReadRect(const std::string& section, const std::string& key, CRect& value) {
    std::string text;
    if (!ReadString(section, key, text))
        return false;
    int32_t n[4];
    ParseCommaList(text, n, 4);
    value = CRect{n[0], n[1], n[2], n[3]};
    return true;
}

bool CIniFile::ReadPoint(const std::string& section, const std::string& key, CPoint& value) {
    std::string text;
    if (!ReadString(section, key, text))
        return false;
    int32_t n[2];
    ParseCommaList(text, n, 2);
    value = CPoint{n[0], n[1]};
    return true;
}

bool CIniFile::ReadSize(const std::string& section, const std::string& key, CSize& value) {
    CPoint point;
    if (!ReadPoint(section, key, point))
        return false;
    value = CSize{point.x, point.y};
    return true;
}

std::string CIniFile::TrimSpaces(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

int32_t CIniFile::ParseInt(const std::string& text) {
    size_t i = 0;
    auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // Accumulate past the 32-bit range only as far as is needed to know that it was left.
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    if (negative)
        return static_cast<int32_t>(-magnitude);
    return static_cast<int32_t>(magnitude < limit ? magnitude : limit - 1);
}

void CIniFile::ParseCommaList(const std::string& text, int32_t* numbers, size_t count) {
    std::string rest = text;
    for (size_t i = 0; i + 1 < count; ++i) {
        const size_t comma = rest.find(',');
        if (comma == std::string::npos) {
            numbers[i] = 0;
            continue;
        }
        numbers[i] = ParseInt(rest.substr(0, comma));
        rest.erase(0, comma + 1);
    }
    if (count > 0)
        numbers[count - 1] = ParseInt(rest);
}

} // namespace kelo
