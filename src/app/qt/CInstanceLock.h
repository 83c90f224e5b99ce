// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>

namespace kelo {

// Keeps a second directly started client from opening a table beside the first: the first
// holds an exclusive lock on a file until it ends (the system lets go of it when the process
// dies, however it dies).
class CInstanceLock {
public:
    explicit CInstanceLock(std::string path) : m_strPath(std::move(path)) {}
    ~CInstanceLock();
    CInstanceLock(const CInstanceLock&) = delete;
    CInstanceLock& operator=(const CInstanceLock&) = delete;

    // "KeloChess.lock" in $XDG_RUNTIME_DIR, or in the temporary folder with the user's id in
    // the name when that is unset.
    static std::string DefaultPath();

    // False when another process holds the lock. A lock file that cannot be made at all does
    // not stop the start: true.
    bool TryLock();

private:
    std::string m_strPath;
    int m_nFd = -1;
};

} // namespace kelo
