// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace kelo {

// Where the settings live and what their folder defaults are. The core never asks the system
// for folders itself; the shell fills this in (usually with DefaultFolders) and tests point it
// at a scratch folder. Every folder ends with "/".
struct SettingsFolders {
    // Holds "ChessGame.ini"; made when the settings are first saved.
    std::string m_strConfigFolder;
    // Default folder for game records, used when the settings name none.
    std::string m_strRecordFolder;
    // The program's data folder (skins, sounds); the default style library lies beside it.
    std::string m_strDataFolder;

    // The platform's usual places: $XDG_CONFIG_HOME (or ~/.config) + "kelo-chess/", and
    // $XDG_DOCUMENTS_DIR (or ~/Documents) + "kelo-chess/". Relative values of the XDG
    // variables are ignored, as the XDG base directory rules require. getEnv returns null for
    // an unset variable; it defaults to std::getenv.
    static SettingsFolders
    DefaultFolders(const std::string& dataFolder,
                   const std::function<const char*(const char*)>& getEnv = nullptr);

    // The data folder of the program in programFolder: "../share/kelo-chess/" from it when
    // that holds a skin (an installed program), otherwise the program's own folder (a build
    // tree, where the skin and the sounds are generated beside the program).
    static std::string DataFolderOf(const std::string& programFolder);
};

// The folder with a "/" at the end unless it has one (an empty folder stays empty).
std::string WithTrailingSlash(const std::string& folder);

} // namespace kelo
