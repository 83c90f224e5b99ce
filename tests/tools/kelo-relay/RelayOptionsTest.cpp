// SPDX-License-Identifier: GPL-3.0-or-later
// kelo-relay's command line: the plan it reads and the one-line errors for bad values.
#include "RelayOptions.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace kelo {
namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

TEST(RelayOptions, AWholeCommandLineMakesItsPlan) {
    const auto result = ParseRelayOptions(
        Words("--listen 127.0.0.1:0 --server=127.0.0.1:5000 --delay 300 --jitter 100 "
              "--pieces 1..64 --stall 10:5 --stall 20.5:0.25 --cut 30 --seed 7 --verbose"));
    ASSERT_EQ(result.strError, "");
    const RelayOptions& options = result.options;
    EXPECT_EQ(options.listen.strHost, "127.0.0.1");
    EXPECT_EQ(options.listen.nPort, 0);
    EXPECT_EQ(options.server.nPort, 5000);
    EXPECT_EQ(options.plan.nDelayMs, 300u);
    EXPECT_EQ(options.plan.nJitterMs, 100u);
    EXPECT_EQ(options.plan.nPieceMin, 1u);
    EXPECT_EQ(options.plan.nPieceMax, 64u);
    ASSERT_EQ(options.plan.stalls.size(), 2u);
    EXPECT_EQ(options.plan.stalls[0].nAtMs, 10000u);
    EXPECT_EQ(options.plan.stalls[0].nForMs, 5000u);
    EXPECT_EQ(options.plan.stalls[1].nAtMs, 20500u);
    EXPECT_EQ(options.plan.stalls[1].nForMs, 250u);
    EXPECT_EQ(options.plan.cuts, std::vector<uint64_t>{30000});
    EXPECT_EQ(options.plan.nSeed, 7u);
    EXPECT_TRUE(options.bSeedGiven);
    EXPECT_TRUE(options.bVerbose);

    const auto fixed =
        ParseRelayOptions(Words("--listen 127.0.0.1:1 --server 127.0.0.1:2 --pieces 1"));
    ASSERT_EQ(fixed.strError, "");
    EXPECT_EQ(fixed.options.plan.nPieceMin, 1u);
    EXPECT_EQ(fixed.options.plan.nPieceMax, 1u);
    EXPECT_FALSE(fixed.options.bSeedGiven);
    EXPECT_TRUE(ParseRelayOptions(Words("--help")).options.bHelp);
}

TEST(RelayOptions, BadValuesAreOneLineNamingTheOption) {
    const std::string base = "--listen 127.0.0.1:0 --server 127.0.0.1:5000 ";
    struct Case {
        std::string line;
        std::string named;
    };
    const std::vector<Case> cases = {
        {"--server 127.0.0.1:5000", "--listen"},
        {"--listen 127.0.0.1:0", "--server"},
        {base + "--bogus", "--bogus"},
        {base + "--delay", "--delay"},
        {base + "--delay -1", "--delay"},
        {base + "--delay 300ms", "--delay"},
        {base + "--jitter 600001", "--jitter"},
        {base + "--pieces 0", "--pieces"},
        {base + "--pieces 64..1", "--pieces"},
        {base + "--pieces 1..", "--pieces"},
        {base + "--stall 10", "--stall"},
        {base + "--stall 10:0", "--stall"},
        {base + "--stall 1.2345:1", "--stall"},
        {base + "--stall x:1", "--stall"},
        {base + "--cut", "--cut"},
        {base + "--cut 1:2", "--cut"},
        {base + "--seed -3", "--seed"},
        {"--listen 127.0.0.1 --server 127.0.0.1:5000", "--listen"},
        {"--listen 127.0.0.1:0 --server 127.0.0.1:0", "--server"},
        {"--listen 127.0.0.1:65536 --server 127.0.0.1:1", "--listen"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const auto result = ParseRelayOptions(Words(c.line));
        EXPECT_NE(result.strError.find(c.named), std::string::npos) << result.strError;
        EXPECT_EQ(result.strError.find('\n'), std::string::npos);
    }
}

} // namespace
} // namespace kelo
