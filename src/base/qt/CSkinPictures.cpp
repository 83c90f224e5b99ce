// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/qt/CSkinPictures.h"

#include <QFile>
#include <QImageReader>

#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace kelo {

namespace {
constexpr off_t MAX_IMAGE_BYTES = off_t(64) << 20;

// A file is the same picture while its identity, size and time of change are.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec changed{};

    bool operator==(const FileStamp& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
    }
};

struct Picture {
    FileStamp stamp;
    QImage image;
};

std::mutex g_mutex;
std::map<std::string, Picture> g_pictures;
} // namespace

QImage CSkinPictures::Load(const std::string& path, qreal devicePixelRatio) {
    if (path.empty())
        return QImage();
    // Opened without blocking, so that a FIFO in the picture's place cannot hold the window.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return QImage();
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > MAX_IMAGE_BYTES) {
        ::close(fd);
        return QImage();
    }
    const FileStamp stamp{info.st_dev, info.st_ino, info.st_size, info.st_mtim};

    std::lock_guard<std::mutex> lock(g_mutex);
    for (auto it = g_pictures.begin(); it != g_pictures.end();) {
        // Held by the cache alone: no window shows it any more.
        if (it->first != path && it->second.image.isDetached())
            it = g_pictures.erase(it);
        else
            ++it;
    }
    auto found = g_pictures.find(path);
    if (found != g_pictures.end() && found->second.stamp == stamp &&
        found->second.image.devicePixelRatio() == devicePixelRatio) {
        ::close(fd);
        return found->second.image;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return QImage();
    }
    QImageReader reader(&file);
    QImage image = reader.read();
    if (image.isNull()) {
        g_pictures.erase(path);
        return image;
    }
    image.setDevicePixelRatio(devicePixelRatio);
    g_pictures[path] = Picture{stamp, image};
    return image;
}

} // namespace kelo
