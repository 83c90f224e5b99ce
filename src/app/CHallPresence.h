// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kelo {

// Whether the hall is installed for this user, and the head pictures it brings. The hall keeps
// its install record as an ini file in the user's configuration folder; its head pictures are
// numbered images in a folder of its own.
class CHallPresence {
public:
    static constexpr const char* NO_HALL = "没有游戏安装大厅，不能单独运行该程序";
    // More are never looked for, whatever the folder holds.
    static constexpr int MAX_HEAD_PICTURES = 1000;

    // configFolder is the user's configuration folder ($XDG_CONFIG_HOME), ending in "/".
    static std::string RecordPath(const std::string& configFolder);
    // The hall's folder ("AppPath" of its record, ending in "/"), or empty when the hall is
    // not installed.
    static std::string HallFolder(const std::string& configFolder);
    // The head pictures "room/headpica/IDI_<n>.png" of the hall's folder, from 0 up to the first
    // one missing: the list index is the picture's index in a person's record.
    static std::vector<std::string> HeadPictures(const std::string& hallFolder);
    // Writes the install record naming hallFolder, as the hall's installer does, unless the
    // record already names a hall that is there (that one is kept). False when the record is
    // still missing afterwards.
    static bool Install(const std::string& configFolder, const std::string& hallFolder);
};

} // namespace kelo
