#pragma once

#include "base/FileBytes.h"
#include "base/IniTypes.h"

#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace kelo {

// The skin's values in Qt's terms.
inline QColor ToQColor(COLORREF colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

// A skin rectangle is a box at (left, top) of width right - left and height bottom - top.
inline QRect ToQRect(const CRect& rect) {
    return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

inline bool IsEmptyRect(const CRect& rect) {
    return rect.right - rect.left < 1 || rect.bottom - rect.top < 1;
}

// A skin image; a missing or unreadable file, or one that is not a regular file (a FIFO, a
// device, a folder), gives a null image, which the drawing skips.
inline QImage LoadSkinImage(const std::string& path) {
    constexpr size_t MAX_IMAGE_BYTES = 64u << 20;
    std::vector<uint8_t> bytes;
    if (path.empty() || ReadFileBytes(path, MAX_IMAGE_BYTES, bytes) != FileReadResult::Read)
        return QImage();
    return QImage::fromData(bytes.data(), static_cast<int>(bytes.size()));
}

// A font of the skin: its family, or a face that has Chinese characters when the skin names
// none, at the size in points (never below 8).
// The table's view font: "宋体" 12 pixels high, weight 500, where the system has that face (or
// its Latin name); otherwise the fallback, a face that has the CJK characters.
inline QFont ViewFont(const QFont& fallback) {
    static const QString family = [] {
        for (const QString& name : {QStringLiteral("宋体"), QStringLiteral("SimSun")})
            if (QFontDatabase::hasFamily(name))
                return name;
        return QString();
    }();
    if (family.isEmpty())
        return fallback;
    QFont font(family);
    font.setPixelSize(12);
    font.setWeight(static_cast<QFont::Weight>(500));
    return font;
}

inline QFont SkinFont(const std::string& family, int points) {
    QFont font(family.empty() ? QStringLiteral("WenQuanYi Micro Hei")
                              : QString::fromStdString(family));
    font.setPointSize(points >= 8 ? points : 9);
    return font;
}

} // namespace kelo
