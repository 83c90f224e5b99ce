// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/FileBytes.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
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

namespace {

// A write goes to ".<name>.kelo-XXXXXX" beside its target: hidden, so that file dialogs and
// folder views never show half a record, and marked, so that what a killed writer left behind
// is told apart from the user's own files.
const char TEMP_MARK[] = ".kelo-";
constexpr size_t TEMP_SUFFIX = sizeof TEMP_MARK - 1 + 6;

bool IsTempName(const std::string& name) {
    return name.size() > 1 + TEMP_SUFFIX && name[0] == '.' &&
           name.compare(name.size() - TEMP_SUFFIX, sizeof TEMP_MARK - 1, TEMP_MARK) == 0;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True when the name still leads to the open file.
bool StillNamed(int fd, const std::string& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           SameFile(opened, named);
}

// A writer holds a lock on its temporary file until the file has its final name; the system
// drops the lock when the writer ends, also when it is killed. A temporary file whose lock can
// be taken was therefore left by a writer that is gone, and is removed.
void RemoveAbandonedTemps(const std::string& folder) {
    std::error_code error;
    std::filesystem::directory_iterator it(folder.empty() ? "." : folder, error);
    for (; !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!IsTempName(name))
            continue;
        const std::string path = folder + name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat opened {};
        if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && StillNamed(fd, path))
            ::unlink(path.c_str());
        ::close(fd);
    }
}

} // namespace

bool ReplaceFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = path.substr(folder.size());
    RemoveAbandonedTemps(folder);
    std::string temp;
    int fd = -1;
    // Another writer clearing the folder may take a file in the moment between its making and
    // its lock; a fresh name is then tried.
    for (int attempt = 0; attempt < 3 && fd < 0; ++attempt) {
        temp = folder + "." + name + TEMP_MARK + "XXXXXX";
        fd = ::mkostemp(temp.data(), O_CLOEXEC);
        if (fd < 0)
            return false;
        // On a file system without locks the file is written unlocked: it is then never
        // taken for a killed writer's, since no lock can be taken on it either.
        const bool taken = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        if (taken || !StillNamed(fd, temp)) {
            ::close(fd);
            fd = -1;
        }
    }
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
    // Readable by others as a normal file would be; mkstemp makes it private. The data reaches
    // the disk before the rename does, so a power cut cannot leave an empty file either.
    ok = ok && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    // The file keeps its lock, and so stays clear of other writers' clearing, until it has its
    // final name.
    if (ok && std::rename(temp.c_str(), path.c_str()) == 0) {
        ::close(fd);
        return true;
    }
    ::unlink(temp.c_str());
    ::close(fd);
    return false;
}

bool MakeFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

} // namespace kelo
