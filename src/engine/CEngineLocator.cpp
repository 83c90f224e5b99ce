// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CEngineLocator.h"

#include <cstdlib>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kelo {

namespace {

// How to get the engine that is looked for by default.
const char* const INSTALL_HINT = "安装 stockfish：sudo apt install stockfish";

// A file (or a link to one) that this user may run; a folder is none.
bool Runnable(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

} // namespace

CEngineLocator::CEngineLocator()
    : CEngineLocator(std::getenv("PATH") != nullptr ? std::getenv("PATH") : "",
                     {"/usr/games/stockfish"}) {}

CEngineLocator::CEngineLocator(std::string searchPath, std::vector<std::string> fallbacks)
    : m_strSearchPath(std::move(searchPath)), m_fallbacks(std::move(fallbacks)) {}

std::optional<std::string> CEngineLocator::FindProgram(const std::string& program) const {
    if (program.empty())
        return std::nullopt;
    if (program.find('/') != std::string::npos)
        return Runnable(program) ? std::optional<std::string>(program) : std::nullopt;
    std::istringstream folders(m_strSearchPath);
    // An empty entry would mean the current folder, which a program that is started from
    // anywhere must not run things from.
    for (std::string folder; std::getline(folders, folder, ':');) {
        if (folder.empty())
            continue;
        const std::string path = folder + (folder.back() == '/' ? "" : "/") + program;
        if (Runnable(path))
            return path;
    }
    return std::nullopt;
}

CEngineLocator::Result CEngineLocator::Locate(const std::string& configured) const {
    std::istringstream in(configured);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    Result result;
    if (!words.empty()) {
        if (const std::optional<std::string> program = FindProgram(words[0])) {
            result.command = EngineCommand{*program, {words.begin() + 1, words.end()}};
            return result;
        }
        result.message = "找不到设置的国际象棋引擎“" + words[0] +
                         "”（不存在或不能运行）。请检查引擎命令，或" + INSTALL_HINT;
        return result;
    }
    if (std::optional<std::string> program = FindProgram(DEFAULT_ENGINE)) {
        result.command = EngineCommand{*program, {}};
        return result;
    }
    for (const std::string& fallback : m_fallbacks) {
        if (Runnable(fallback)) {
            result.command = EngineCommand{fallback, {}};
            return result;
        }
    }
    result.message = std::string("没有找到国际象棋引擎。请") + INSTALL_HINT;
    return result;
}

} // namespace kelo
