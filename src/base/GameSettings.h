// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/SettingsFolders.h"

#include <cstdint>
#include <string>

namespace kelo {

class IPrompts;

// The user's preferences, kept in "ChessGame.ini". They hold their defaults until
// LoadGameSettings runs; only the settings dialog changes them afterwards.
struct GameSettings {
    bool m_bSound = true;
    // The main window stays above all other windows.
    bool m_bShowOnTop = false;
    // When a game ends: 1 save the record automatically, 2 ask, 3 do not save.
    int16_t m_nSaveType = 1;
    // Folder for game records. Ends with "/" when set by default or by the dialog; a value read
    // from the file is used unchanged.
    std::string m_strManualPath;
    // The style library with the hall's shared pictures, used when the hall names none.
    std::string m_strDllFileName;
    // Background tile of the table: 0..3; any other value counts as 0.
    int16_t m_nTableBack = 1;
    // The chess engine a game against the computer is played with: a program's path or name
    // and its arguments, split at spaces. Empty: the first engine found. Written only when set.
    std::string m_strEngineCommand;
};

// Fills in what the file holds; entries that are missing keep their present values. An
// empty record folder or style library then gets its default, also when there is no file yet.
void LoadGameSettings(GameSettings& settings, const SettingsFolders& folders);

// Rewrites the file whole, making its folder when missing. On failure the user is told
// " 文件(%s)无法保存 ！" with the folder in place of %s, the old file stays as it was and the
// result is false.
bool SaveGameSettings(const GameSettings& settings, const SettingsFolders& folders,
                      IPrompts& prompts);

// Where the style library lies by default: "style/picture1.dll" in the parent of the data
// folder.
std::string DefaultStyleLibraryPath(const std::string& dataFolder);

} // namespace kelo
