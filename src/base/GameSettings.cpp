// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/GameSettings.h"

#include "base/CIniFile.h"
#include "ports/IPrompts.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <system_error>

namespace kelo {

namespace {

const char* const SETTINGS_FILE = "ChessGame";
const char* const SECTION_GAME = "chessgame";
const char* const SECTION_TABLE = "gogame";

// A number read for a 16-bit field, clamped to the field's range rather than wrapped.
int16_t Clamped16(int32_t value) {
    return static_cast<int16_t>(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

} // namespace

std::string DefaultStyleLibraryPath(const std::string& dataFolder) {
    std::string folder = dataFolder;
    while (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    const size_t slash = folder.rfind('/');
    // The data folder of a program installed at the root has the root as its parent; a bare
    // relative name has the current folder.
    const std::string parent = slash == std::string::npos ? "" : folder.substr(0, slash + 1);
    return parent + "style/picture1.dll";
}

void LoadGameSettings(GameSettings& settings, const SettingsFolders& folders) {
    CIniFile ini;
    ini.SetFileName(SETTINGS_FILE);
    ini.SetPath(folders.m_strConfigFolder);
    if (ini.OpenForRead()) {
        ini.ReadBool(SECTION_GAME, "sound", settings.m_bSound);
        ini.ReadBool(SECTION_GAME, "showontop", settings.m_bShowOnTop);
        int32_t value = 0;
        if (ini.ReadInt(SECTION_GAME, "savetype", value))
            settings.m_nSaveType = Clamped16(value);
        ini.ReadString(SECTION_GAME, "manualpath", settings.m_strManualPath);
        ini.ReadString(SECTION_GAME, "dllfilename", settings.m_strDllFileName);
        // Keys are found as parts of a line's key: this one holds none of the others.
        ini.ReadString(SECTION_GAME, "enginecommand", settings.m_strEngineCommand);
        if (ini.ReadInt(SECTION_TABLE, "tableback", value))
            settings.m_nTableBack = Clamped16(value);
        ini.Close();
    }
    // The defaults are filled in even without a file: on the first run an empty record folder
    // would put records and the adjourned-game index into whatever the current folder is.
    if (settings.m_strManualPath.empty())
        settings.m_strManualPath = WithTrailingSlash(folders.m_strRecordFolder);
    if (settings.m_strDllFileName.empty())
        settings.m_strDllFileName = DefaultStyleLibraryPath(folders.m_strDataFolder);
}

bool SaveGameSettings(const GameSettings& settings, const SettingsFolders& folders,
                      IPrompts& prompts) {
    std::error_code error;
    if (!folders.m_strConfigFolder.empty())
        std::filesystem::create_directories(folders.m_strConfigFolder, error);

    CIniFile ini;
    ini.SetFileName(SETTINGS_FILE);
    ini.SetPath(folders.m_strConfigFolder);
    bool ok = ini.OpenForWrite();
    if (ok) {
        // Each write is attempted; one that fails (a line break in a path, a full disk) spoils
        // the whole save so that the old file is kept.
        ok &= ini.WriteSection(SECTION_GAME);
        ok &= ini.WriteBool("sound", settings.m_bSound);
        ok &= ini.WriteBool("showontop", settings.m_bShowOnTop);
        ok &= ini.WriteInt("savetype", settings.m_nSaveType);
        ok &= ini.WriteString("manualpath", settings.m_strManualPath);
        ok &= ini.WriteString("dllfilename", settings.m_strDllFileName);
        if (!settings.m_strEngineCommand.empty())
            ok &= ini.WriteString("enginecommand", settings.m_strEngineCommand);
        ok &= ini.WriteSection(SECTION_TABLE);
        ok &= ini.WriteInt("tableback", settings.m_nTableBack);
        if (!ok)
            ini.Abandon();
        ok = ini.Close() && ok;
    }
    if (!ok) {
        prompts.ShowNotice(" 文件(" + folders.m_strConfigFolder + ")无法保存 ！");
        return false;
    }
    return true;
}

} // namespace kelo
