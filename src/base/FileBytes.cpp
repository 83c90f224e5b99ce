// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FileBytes.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kelo {

FileReadResult ReadFileBytes(const std::string& path, size_t maxBytes, std::vector<uint8_t>& out) {
    // Only regular files: opening a FIFO for reading would wait for a writer, a device may
    // never end. The check before opening skips them; opening without blocking and looking
    // again at what was opened closes the gap in which the path could change.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return FileReadResult::CannotOpen;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return FileReadResult::CannotOpen;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return FileReadResult::CannotOpen;
    }
    std::vector<uint8_t> bytes;
    // Room for the whole file at once: growing by doubling would copy it over and over.
    bytes.reserve(std::min(static_cast<size_t>(info.st_size), maxBytes));
    uint8_t buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            return FileReadResult::CannotOpen;
        }
        if (got == 0)
            break;
        if (bytes.size() + static_cast<size_t>(got) > maxBytes) {
            ::close(fd);
            return FileReadResult::TooLarge;
        }
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    ::close(fd);
    out = std::move(bytes);
    return FileReadResult::Read;
}

bool ReplaceFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        ok = put > 0;
        if (ok)
            done += static_cast<size_t>(put);
    }
    // Readable by others as a normal file would be; mkstemp makes it private.
    ok = ok && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (ok && std::rename(temp.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(temp.c_str());
    return false;
}

bool MakeFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

} // namespace kelo
