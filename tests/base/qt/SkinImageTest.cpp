#include "base/qt/SkinQt.h"

#include "../ScratchFolder.h"
#include "support/UnblockingWait.h"

#include <gtest/gtest.h>

#include <chrono>
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

} // namespace
} // namespace kelo
