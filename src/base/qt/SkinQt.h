#pragma once

#include "base/IniTypes.h"
#include "base/qt/CSkinPictures.h"

#include <QColor>
#include <QFont>
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

// A skin image, decoded once while in use (CSkinPictures); a missing or unreadable file, or one
// that is not a regular file (a FIFO, a device, a folder), gives a null image, which the drawing
// skips.
inline QImage LoadSkinImage(const std::string& path) {
    return CSkinPictures::Load(path);
}

// A font of the skin: its family, or a face that has Chinese characters when the skin names
// none, at the size in points (never below 8).
inline QFont SkinFont(const std::string& family, int points) {
    QFont font(family.empty() ? QStringLiteral("WenQuanYi Micro Hei")
                              : QString::fromStdString(family));
    font.setPointSize(points >= 8 ? points : 9);
    return font;
}

} // namespace kelo
