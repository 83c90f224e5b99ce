// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/qt/SkinQt.h"

#include "../ScratchFolder.h"
#include "support/UnblockingWait.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace kelo {
namespace {

// A skin picture is read from a regular file only: a FIFO in its place gives a null image at
// once instead of waiting for a writer, a folder too; a real picture still loads.
TEST(SkinImage, OnlyRegularFilesAreRead) {
    test::ScratchFolder scratch;
    const std::string picture = scratch.Folder() + "piece.png";
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(QString::fromStdString(picture)));
    EXPECT_EQ(LoadSkinImage(picture).size(), QSize(4, 3));

    const std::string fifo = scratch.Folder() + "back.bmp";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directory(scratch.Folder() + "frame.bmp");
    for (const std::string& path : {fifo, scratch.Folder() + "frame.bmp"}) {
        auto load = std::async(std::launch::async, [&] { return LoadSkinImage(path).isNull(); });
        if (!test::FinishesWithoutBlocking(load, path, std::chrono::seconds(2)))
            ADD_FAILURE() << path << ": reading blocked";
        EXPECT_TRUE(load.get()) << path;
    }
}

// Windows that ask for the same picture share one decoded image; a picture whose file has been
// replaced is read again, never shown stale.
TEST(SkinImage, OnePictureIsDecodedOnceUntilItsFileChanges) {
    test::ScratchFolder scratch;
    const std::string path = scratch.Folder() + "back.png";
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(QString::fromStdString(path)));
    const QImage first = LoadSkinImage(path);
    const QImage second = LoadSkinImage(path);
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.cacheKey(), second.cacheKey());

    QImage blue(8, 6, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    // Written to a new file and renamed over the old one, as an editor or an update does.
    ASSERT_TRUE(blue.save(QString::fromStdString(path + ".new"), "PNG"));
    std::filesystem::rename(path + ".new", path);
    const QImage changed = LoadSkinImage(path);
    EXPECT_EQ(changed.size(), QSize(8, 6));
    EXPECT_EQ(changed.pixelColor(0, 0), QColor(Qt::blue));
}

// On a high-density screen the picture drawn at twice the size is taken where there is one;
// it keeps the plain one's logical size, so parts of it are picked at the same logical boxes.
TEST(SkinImage, DensePictureOnHighDensityScreens) {
    test::ScratchFolder scratch;
    const std::string plain = scratch.Folder() + "chess.png";
    const std::string alone = scratch.Folder() + "frame.png";
    QImage sheet(28, 2, QImage::Format_ARGB32);
    sheet.fill(Qt::red);
    ASSERT_TRUE(sheet.save(QString::fromStdString(plain)));
    ASSERT_TRUE(sheet.save(QString::fromStdString(alone)));
    QImage dense(56, 4, QImage::Format_ARGB32);
    dense.fill(Qt::blue);
    dense.setPixelColor(2 * 6, 0, Qt::green); // The first pixel of the fourth cell of two.
    ASSERT_TRUE(dense.save(QString::fromStdString(scratch.Folder() + "chess@2x.png")));

    struct Case {
        std::string path;
        qreal ratio;
        QColor colour;
        qreal expectedRatio;
    };
    const Case cases[] = {
        {plain, 1.0, Qt::red, 1.0},
        {plain, 2.0, Qt::blue, 2.0},
        {plain, 1.5, Qt::blue, 2.0},
        // No dense picture beside it: the plain one, whatever the screen.
        {alone, 2.0, Qt::red, 1.0},
    };
    for (const Case& c : cases) {
        const QImage image = LoadSkinImage(c.path, c.ratio);
        EXPECT_EQ(LogicalSize(image), QSize(28, 2)) << c.path << " " << c.ratio;
        EXPECT_EQ(image.devicePixelRatio(), c.expectedRatio) << c.path << " " << c.ratio;
        EXPECT_EQ(image.pixelColor(image.width() - 1, 0), c.colour) << c.path << " " << c.ratio;
    }

    const QImage image = LoadSkinImage(plain, 2.0);
    EXPECT_EQ(PictureRect(image, QRect(6, 0, 2, 2)), QRect(12, 0, 4, 4));
    const QImage cell = PictureCopy(image, QRect(6, 0, 2, 2));
    EXPECT_EQ(LogicalSize(cell), QSize(2, 2));
    EXPECT_EQ(cell.pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(DensePicturePath("/a.b/skin/num.bmp"), "/a.b/skin/num@2x.bmp");
    EXPECT_EQ(DensePicturePath("/a.b/skin/num"), "/a.b/skin/num@2x");
}

} // namespace
} // namespace kelo
