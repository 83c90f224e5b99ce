// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/CFileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kelo {

CFileLock::CFileLock(const std::string& path) {
    const std::string lockPath = path + ".lock";
    m_nFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_nFd < 0)
        return;
    while (::flock(m_nFd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            ::close(m_nFd);
            m_nFd = -1;
            return;
        }
    }
}

CFileLock::~CFileLock() {
    if (m_nFd >= 0)
        ::close(m_nFd);
}

} // namespace kelo
