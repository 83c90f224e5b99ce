// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/SettingsFolders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kelo {

std::string WithTrailingSlash(const std::string& folder) {
    if (folder.empty() || folder.back() == '/')
        return folder;
    return folder + "/";
}

SettingsFolders
SettingsFolders::DefaultFolders(const std::string& dataFolder,
                                const std::function<const char*(const char*)>& getEnv) {
    auto lookup = [&](const char* name) -> std::string {
        const char* value = getEnv ? getEnv(name) : std::getenv(name);
        return value != nullptr ? value : "";
    };
    auto absolute = [](const std::string& path) { return !path.empty() && path[0] == '/'; };

    // Without a home folder the current folder is the only place left.
    std::string home = lookup("HOME");
    home = absolute(home) ? WithTrailingSlash(home) : "./";

    std::string config = lookup("XDG_CONFIG_HOME");
    config = absolute(config) ? WithTrailingSlash(config) : home + ".config/";
    std::string documents = lookup("XDG_DOCUMENTS_DIR");
    documents = absolute(documents) ? WithTrailingSlash(documents) : home + "Documents/";

    SettingsFolders folders;
    folders.m_strConfigFolder = config + "kelo-chess/";
    folders.m_strRecordFolder = documents + "kelo-chess/";
    folders.m_strDataFolder = WithTrailingSlash(dataFolder);
    return folders;
}

std::string SettingsFolders::DataFolderOf(const std::string& programFolder) {
    const std::string folder = WithTrailingSlash(programFolder.empty() ? "." : programFolder);
    const std::string installed = folder + "../share/kelo-chess/";
    std::error_code error;
    if (std::filesystem::is_directory(installed + "skin/image", error))
        return installed;
    return folder;
}

} // namespace kelo
