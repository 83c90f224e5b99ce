// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CHallPresence.h"

#include "base/CIniFile.h"
#include "base/SettingsFolders.h"

#include <filesystem>
#include <system_error>

namespace kelo {

std::string CHallPresence::RecordPath(const std::string& configFolder) {
    return WithTrailingSlash(configFolder) + "zandor/Zandor.ini";
}

std::string CHallPresence::HallFolder(const std::string& configFolder) {
    CIniFile record;
    record.SetPath(WithTrailingSlash(configFolder) + "zandor/");
    record.SetFileName("Zandor");
    std::string folder;
    if (!record.OpenForRead() || !record.ReadString("Zandor", "AppPath", folder))
        folder.clear();
    record.Close();
    // The record names a folder only when the folder is there.
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_directory(folder, error))
        return {};
    return WithTrailingSlash(folder);
}

bool CHallPresence::Install(const std::string& configFolder, const std::string& hallFolder) {
    if (!HallFolder(configFolder).empty())
        return true;
    const std::string folder = WithTrailingSlash(configFolder) + "zandor/";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    CIniFile record;
    record.SetPath(folder);
    record.SetFileName("Zandor");
    if (!record.OpenForWrite())
        return false;
    record.WriteSection("Zandor");
    record.WriteString("AppPath", WithTrailingSlash(hallFolder));
    return record.Close() && !HallFolder(configFolder).empty();
}

std::vector<std::string> CHallPresence::HeadPictures(const std::string& hallFolder) {
    std::vector<std::string> pictures;
    if (hallFolder.empty())
        return pictures;
    const std::string folder = WithTrailingSlash(hallFolder) + "room/headpica/";
    for (int index = 0; index < MAX_HEAD_PICTURES; ++index) {
        const std::string path = folder + "IDI_" + std::to_string(index) + ".png";
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            break;
        pictures.push_back(path);
    }
    return pictures;
}

} // namespace kelo
