// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/IniTypes.h"
#include "base/qt/CSkinPictures.h"

#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
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

// The device pixel ratio the pictures are chosen for: the highest of the screens.
inline qreal SkinPixelRatio() {
    return qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
}

// The picture drawn at twice the size beside path: "name@2x.ext", as Qt names them.
inline std::string DensePicturePath(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + "@2x";
    return path.substr(0, dot) + "@2x" + path.substr(dot);
}

// A skin image, decoded once while in use (CSkinPictures); a missing or unreadable file, or one
// that is not a regular file (a FIFO, a device, a folder), gives a null image, which the drawing
// skips. On a high-density screen the picture drawn at twice the size is taken when there is one;
// it keeps the logical size of the plain one (its device pixel ratio is 2), so whoever draws it
// measures it with LogicalSize and picks parts of it with PictureRect.
inline QImage LoadSkinImage(const std::string& path, qreal pixelRatio = SkinPixelRatio()) {
    if (pixelRatio > 1.0 && !path.empty()) {
        QImage dense = CSkinPictures::Load(DensePicturePath(path), 2.0);
        if (!dense.isNull())
            return dense;
    }
    return CSkinPictures::Load(path);
}

// A transparent picture of a logical size for the program's own drawing, as dense as the
// screen, so that what is painted on it stays sharp there.
inline QPixmap DevicePixmap(const QSize& logical, qreal pixelRatio = SkinPixelRatio()) {
    const qreal ratio = pixelRatio > 1.0 ? pixelRatio : 1.0;
    QPixmap pixmap(QSizeF(logical.width() * ratio, logical.height() * ratio).toSize());
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// An image's size in logical pixels, the skin's unit.
inline QSize LogicalSize(const QImage& image) {
    return image.deviceIndependentSize().toSize();
}

// The part of image at a box given in logical pixels, in the image's own pixels (what
// QPainter::drawImage takes as its source).
inline QRect PictureRect(const QImage& image, const QRect& logical) {
    const qreal ratio = image.devicePixelRatio();
    if (ratio == 1.0)
        return logical;
    return QRectF(logical.x() * ratio, logical.y() * ratio, logical.width() * ratio,
                  logical.height() * ratio)
        .toRect();
}

// The part of image at a logical box as an image of its own, as dense as image.
inline QImage PictureCopy(const QImage& image, const QRect& logical) {
    QImage part = image.copy(PictureRect(image, logical));
    part.setDevicePixelRatio(image.devicePixelRatio());
    return part;
}

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

// A font of the skin: its family, or a face that has Chinese characters when the skin names
// none, at the size in points (never below 8).
inline QFont SkinFont(const std::string& family, int points) {
    QFont font(family.empty() ? QStringLiteral("WenQuanYi Micro Hei")
                              : QString::fromStdString(family));
    font.setPointSize(points >= 8 ? points : 9);
    return font;
}

} // namespace kelo
