// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the engine in a scratch folder with a search path and fixed places of the test's.
#include "engine/CEngineLocator.h"

#include "../base/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kelo {
namespace {

TEST(EngineLocator, ConfiguredThenPathThenFixedPlace) {
    test::ScratchFolder scratch;
    const std::string root = scratch.Folder();
    namespace fs = std::filesystem;
    auto program = [&](const std::string& path, bool runnable) {
        test::WriteFile(root + path, "#!/bin/sh\n");
        fs::permissions(root + path, runnable ? fs::perms::owner_all : fs::perms::owner_read);
    };
    program("plain/stockfish", false);
    program("bin/stockfish", true);
    program("other/fairy-stockfish", true);
    program("games/stockfish", true);
    fs::create_directories(root + "folder/stockfish");

    const std::string missing =
        "没有找到国际象棋引擎。请安装 stockfish：sudo apt install stockfish";
    struct Case {
        const char* name;
        std::string configured;
        std::string path;
        std::vector<std::string> fallbacks;
        std::string program = {};
        std::vector<std::string> args = {};
        std::string message = {};
    };
    const Case cases[] = {
        {"on the path, the first runnable one",
         "",
         root + "plain:" + root + "folder::" + root + "bin/",
         {root + "games/stockfish"},
         root + "bin/stockfish"},
        {"the fixed place",
         "",
         root + "plain:" + root + "other",
         {root + "games/stockfish"},
         root + "games/stockfish"},
        {"nothing", "", "", {root + "plain/stockfish", root + "none"}, "", {}, missing},
        {"blank setting", "  \t ", root + "bin", {}, root + "bin/stockfish"},
        {"a name with arguments",
         " fairy-stockfish  --variant  chess ",
         root + "other",
         {},
         root + "other/fairy-stockfish",
         {"--variant", "chess"}},
        {"a path", root + "games/stockfish", "", {}, root + "games/stockfish"},
        {"a configured one never gives way",
         "fairy-stockfish",
         root + "bin",
         {root + "games/stockfish"},
         "",
         {},
         "找不到设置的国际象棋引擎“fairy-stockfish”（不存在或不能运行）。请检查引擎命令，或安装 "
         "stockfish：sudo apt install stockfish"},
        {"a path that cannot run",
         root + "plain/stockfish -x",
         root + "bin",
         {},
         "",
         {},
         "找不到设置的国际象棋引擎“" + root +
             "plain/stockfish”（不存在或不能运行）。请检查引擎命令，或安装 "
             "stockfish：sudo apt install stockfish"},
    };
    for (const Case& c : cases) {
        const CEngineLocator::Result found =
            CEngineLocator(c.path, c.fallbacks).Locate(c.configured);
        EXPECT_EQ(found.command.has_value(), !c.program.empty()) << c.name;
        if (found.command) {
            EXPECT_EQ(found.command->program, c.program) << c.name;
            EXPECT_EQ(found.command->args, c.args) << c.name;
        }
        EXPECT_EQ(found.message, c.message) << c.name;
    }
}

} // namespace
} // namespace kelo
