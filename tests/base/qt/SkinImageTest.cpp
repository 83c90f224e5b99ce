#include "base/qt/SkinQt.h"

#include "../ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
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
        if (load.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
            ADD_FAILURE() << path << ": reading blocked";
            // A writer that comes and goes lets the blocked reader go, so that the test ends.
            for (int i = 0; i < 100 && load.wait_for(std::chrono::milliseconds(50)) !=
                                           std::future_status::ready;
                 ++i) {
                const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
                ::usleep(10000);
                if (fd >= 0)
                    ::close(fd);
            }
        }
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

} // namespace
} // namespace kelo
