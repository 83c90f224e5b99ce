// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/CInstanceLock.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace kelo {

CInstanceLock::~CInstanceLock() {
    if (m_nFd >= 0)
        ::close(m_nFd);
}

std::string CInstanceLock::DefaultPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/')
        return std::string(runtime) + "/KeloChess.lock";
    std::error_code error;
    std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    if (error)
        temp = "/tmp";
    return (temp / ("KeloChess-" + std::to_string(::getuid()) + ".lock")).string();
}

bool CInstanceLock::TryLock() {
    if (m_nFd >= 0)
        return true;
    const int fd = ::open(m_strPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true;
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return !held;
    }
    m_nFd = fd;
    return true;
}

} // namespace kelo
