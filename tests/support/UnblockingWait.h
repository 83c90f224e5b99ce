// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <fcntl.h>
#include <future>
#include <string>
#include <unistd.h>

namespace kelo::test {

// Waits up to limit for a read of path that must not block (path may be a FIFO); true when it
// finished in time. When it did not, a writer comes and goes at path until the blocked reader
// lets go, so that the test reports the failure and ends instead of hanging.
template <class T>
bool FinishesWithoutBlocking(std::future<T>& read, const std::string& path,
                             std::chrono::milliseconds limit) {
    if (read.wait_for(limit) == std::future_status::ready)
        return true;
    for (int i = 0;
         i < 100 && read.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready;
         ++i) {
        const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK);
        ::usleep(10000);
        if (fd >= 0)
            ::close(fd);
    }
    return false;
}

} // namespace kelo::test
