// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/IniTypes.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kelo {

// A line-oriented ini file: "[section]" lines and "key=value" lines, written with CR LF line
// ends. It reads both the settings file and the skin description, and its matching rules are
// deliberately loose (a section is any line containing its name, a flag or integer key is any
// key part containing it, a text key any key part beginning with it, and the scan for a key
// runs past the next section): existing skins rely on exactly these rules.
//
// Bytes are passed through unchanged; callers decide what the text encoding is. A file is
// either read or written, never both; writing produces the whole file in one pass.
class CIniFile {
public:
    // Files larger than this are refused on reading: no settings file or skin description comes
    // near it, and it bounds what a damaged file can make us hold in memory.
    static constexpr size_t MAX_FILE_SIZE = 1 << 20;

    CIniFile() = default;
    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;
    // Closes the file; a file being written is committed.
    virtual ~CIniFile();

    // The folder is used as given: the caller supplies the trailing separator.
    void SetPath(const std::string& folder) { m_strPath = folder; }
    // ".ini" is appended to the base name.
    void SetFileName(const std::string& baseName) { m_strFileName = baseName + ".ini"; }
    std::string FullPath() const { return m_strPath + m_strFileName; }

    // Reads the whole file into memory; false if it cannot be read or is too large.
    bool OpenForRead();
    // Reads the given text as if it were the file's content (for descriptions held in memory).
    bool OpenText(const std::string& text);
    // Starts writing: the lines are kept until Close puts them in the target's place whole
    // (ReplaceFileBytes), so the old file stays as it was until the new one is complete. False
    // when the folder cannot take the file.
    bool OpenForWrite();
    // Ends reading, or finishes writing: false when the new file could not be written
    // completely, in which case the old file is left as it was.
    virtual bool Close();
    // Drops what has been written; the following Close keeps the old file.
    void Abandon() { m_bWriteFailed = true; }

    // Rewinds and reads lines until one contains the name; the next read starts on the line
    // after it.
    bool FindSection(const std::string& section);

    bool WriteSection(const std::string& section);
    bool WriteBool(const std::string& key, bool value);
    bool WriteInt(const std::string& key, int32_t value);
    // Refuses texts with a line break: written out, they would turn into lines of their own.
    bool WriteString(const std::string& key, const std::string& value);

    // A false result means nothing matched and the output is untouched.
    bool ReadBool(const std::string& section, const std::string& key, bool& value);
    bool ReadInt(const std::string& section, const std::string& key, int32_t& value);
    bool ReadString(const std::string& section, const std::string& key, std::string& value);
    bool ReadColor(const std::string& section, const std::string& key, COLORREF& value);
    bool ReadRect(const std::string& section, const std::string& key, CRect& value);
    bool ReadPoint(const std::string& section, const std::string& key, CPoint& value);
    bool ReadSize(const std::string& section, const std::string& key, CSize& value);

    static std::string TrimSpaces(const std::string& text);
    // Decimal as the files have always been read: leading white space, an optional sign, then
    // digits up to the first non-digit; 0 without digits. Out-of-range values are clamped.
    static int32_t ParseInt(const std::string& text);
    // Splits a comma list into count integers. A number that finds no comma left is 0 and does
    // not consume the text, so the last number is read from whatever is left.
    static void ParseCommaList(const std::string& text, int32_t* numbers, size_t count);

private:
    enum class KeyMatch { Contains, BeginsWith };

    bool ReadValue(const std::string& section, const std::string& key, KeyMatch match,
                   std::string& value);
    bool WriteLine(const std::string& line);
    void SplitLines(const std::string& text);

    std::string m_strPath;
    std::string m_strFileName;

    // Reading: the file's lines without their line ends, and the next line to read.
    bool m_bReading = false;
    std::vector<std::string> m_vecLines;
    size_t m_nNextLine = 0;

    // Writing: the file's text so far and whether every write so far succeeded.
    bool m_bWriting = false;
    std::string m_strWritten;
    bool m_bWriteFailed = false;
};

} // namespace kelo
