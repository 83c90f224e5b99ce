// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include <string>

namespace kelo {

// The one place where the skin's pictures are read. A picture is decoded straight from its
// file (no copy of the file's bytes beside the image) and once while it is in use: the windows
// that ask for the same file get the same image, which Qt shares, until the file changes. A
// picture that no window holds any more is let go at a later load, so the pictures of a closed
// dialog do not stay. Safe to call from any thread.
class CSkinPictures {
public:
    // A missing or unreadable file, one that is not a regular file (a FIFO, a device, a folder)
    // or one over 64 MB gives a null image, which the drawing skips. The image carries
    // devicePixelRatio (2 for a picture drawn at twice the size).
    static QImage Load(const std::string& path, qreal devicePixelRatio = 1.0);
};

} // namespace kelo
