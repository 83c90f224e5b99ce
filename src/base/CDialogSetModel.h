// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/GameSettings.h"
#include "base/SettingsFolders.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kelo {

class IPrompts;

// What the settings dialog "设置" does, apart from its window. The dialog opens on the settings
// as they are and keeps the user's changes to the check boxes and the save type to itself:
// Confirm ("确定") makes them the settings and rewrites the file, and a dialog closed without
// confirming changes nothing. The record folder is the exception: a folder the user picks becomes
// the setting and is saved at once, whatever happens to the dialog afterwards.
class CDialogSetModel {
public:
    // The save types of the three radio buttons ("自动保存", "提示保存", "不保存"); NO_SAVE_TYPE
    // when the setting is none of them and no button is checked.
    static constexpr int16_t SAVE_AUTO = 1;
    static constexpr int16_t SAVE_ASK = 2;
    static constexpr int16_t SAVE_NEVER = 3;
    static constexpr int16_t NO_SAVE_TYPE = 0;
    // The title of the folder browser.
    static constexpr const char* FOLDER_TITLE = "棋谱保存位置";

    // The settings and the folders must outlive the model.
    CDialogSetModel(GameSettings& settings, const SettingsFolders& folders, IPrompts& prompts);

    // Told the new state when confirming has changed "棋盘总在最上面": the main window goes above
    // all others, or back among them, keeping its place and size.
    std::function<void(bool)> onShowOnTop;

    // The state the dialog shows.
    bool Sound() const { return m_bSound; }
    bool ShowOnTop() const { return m_bShowOnTop; }
    int16_t SaveType() const { return m_nSaveType; }
    void SetSound(bool on) { m_bSound = on; }
    void SetShowOnTop(bool on) { m_bShowOnTop = on; }
    // One of the three save types; any other value is ignored.
    void SetSaveType(int16_t saveType);

    // The folder the folder browser opens on: the record folder, or its default when the
    // settings name none.
    std::string FolderToBrowse() const;
    // The folder the user picked in the browser, empty when the browser was cancelled. A picked
    // folder, with a "/" added when it lacks one, becomes the record folder and the settings are
    // saved; false when the save failed (the user has been told).
    bool ChooseFolder(const std::string& folder);

    // "确定": the dialog's state becomes the settings (the save type only when one is chosen),
    // the main window follows a changed "棋盘总在最上面", and the settings are saved; false when
    // the save failed (the user has been told, the settings in memory stay as changed).
    bool Confirm();

private:
    GameSettings& m_settings;
    const SettingsFolders& m_folders;
    IPrompts& m_prompts;
    bool m_bSound;
    bool m_bShowOnTop;
    int16_t m_nSaveType;
};

} // namespace kelo
