// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kelo {

// Holds an exclusive advisory lock on "path.lock" for its lifetime, so that two clients on one
// machine never change the same file at once (each reads, changes and writes it under the
// lock). Locked() is false when the lock file could not be made.
class CFileLock {
public:
    explicit CFileLock(const std::string& path);
    ~CFileLock();
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;
    bool Locked() const { return m_nFd >= 0; }

private:
    int m_nFd = -1;
};

} // namespace kelo
