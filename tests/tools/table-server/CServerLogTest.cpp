// SPDX-License-Identifier: GPL-3.0-or-later
#include "CServerLog.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace kelo {
namespace {

// A log on a pipe that nobody reads for a while: writing never waits for the reader, a second's
// violations beyond the first few come as one summary line, lines beyond the bound are dropped
// and counted, and at the end the summary, the note of the dropped lines and the last line all
// reach the reader.
TEST(ServerLogTest, NeverBlocksKeepsItsBoundAndSummarisesViolations) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    fcntl(fds[1], F_SETPIPE_SZ, 4096);
    constexpr size_t BOUND = 16 * 1024;
    std::string text;
    std::thread reader;
    {
        CServerLog log(fds[1], BOUND);
        uint64_t now = 5000;
        for (int i = 0; i < 20; ++i)
            log.Line("violation client " + std::to_string(7 + i % 2) + " type=631: a move", now);
        log.Line("client 9 entered", now);
        log.Tick(now + CServerLog::SECOND_MS - 1);
        log.Line("violation client 9 type=656: a client may not send this type", now + 999);
        log.Tick(now + CServerLog::SECOND_MS);
        // Far more than the pipe and the bound take.
        for (int i = 0; i < 1000; ++i)
            log.Line(std::string(99, 'x'), now + 2000);
        EXPECT_LE(log.Buffered(), BOUND);
        EXPECT_GT(log.Dropped(), 0u);
        reader = std::thread([&] {
            char buffer[4096];
            ssize_t n;
            while ((n = read(fds[0], buffer, sizeof buffer)) > 0)
                text.append(buffer, static_cast<size_t>(n));
        });
        log.Finish("stopped, 21 violations");
        EXPECT_FALSE(log.Waiting());
    }
    // The end of the file once every writer is gone, the log's own descriptor included.
    close(fds[1]);
    reader.join();
    close(fds[0]);

    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_GE(lines.size(), 8u);
    for (int i = 0; i < CServerLog::VIOLATIONS_PER_SECOND; ++i)
        EXPECT_EQ(lines[i].rfind("violation client ", 0), 0u) << lines[i];
    EXPECT_EQ(lines[5], "client 9 entered");
    EXPECT_EQ(lines[6],
              "violations: 16 more within a second, not shown one by one (clients 7 8 9)");
    EXPECT_EQ(lines[7], std::string(99, 'x'));
    EXPECT_EQ(lines[lines.size() - 2].rfind("log: ", 0), 0u) << lines[lines.size() - 2];
    EXPECT_EQ(lines.back(), "stopped, 21 violations");
}

} // namespace
} // namespace kelo
