// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog's behaviour: what it shows, what confirming writes, what the folder
// button saves at once, and that a dialog closed without confirming changes nothing.
#include "base/CDialogSetModel.h"

#include "ScratchFolder.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace kelo {
namespace {

using test::ScratchFolder;

struct SettingsFixture {
    ScratchFolder scratch;
    SettingsFolders folders;
    GameSettings settings;
    test::ScriptedPrompts prompts;
    std::vector<bool> onTopCalls;

    SettingsFixture() {
        folders.m_strConfigFolder = scratch.Folder() + "config/kelo-chess/";
        folders.m_strRecordFolder = scratch.Folder() + "Documents/kelo-chess/";
        folders.m_strDataFolder = scratch.Folder() + "share/kelo-chess/";
        LoadGameSettings(settings, folders);
    }
    std::string File() const { return folders.m_strConfigFolder + "ChessGame.ini"; }
    bool Saved() const { return std::filesystem::exists(File()); }
    GameSettings Reloaded() const {
        GameSettings loaded;
        LoadGameSettings(loaded, folders);
        return loaded;
    }
    void Watch(CDialogSetModel& model) {
        model.onShowOnTop = [this](bool onTop) { onTopCalls.push_back(onTop); };
    }
};

TEST(CDialogSetModelTest, ShowsTheSaveTypeOnlyWhenItIsOneOfTheThree) {
    const struct {
        int16_t setting;
        int16_t shown;
    } cases[] = {{1, 1}, {2, 2}, {3, 3}, {0, 0}, {4, 0}, {-1, 0}, {32767, 0}};
    for (const auto& c : cases) {
        SettingsFixture f;
        f.settings.m_nSaveType = c.setting;
        CDialogSetModel model(f.settings, f.folders, f.prompts);
        EXPECT_EQ(model.SaveType(), c.shown) << c.setting;
        // Confirming without choosing keeps an unknown value as it was.
        EXPECT_TRUE(model.Confirm());
        EXPECT_EQ(f.Reloaded().m_nSaveType, c.setting);
    }
}

TEST(CDialogSetModelTest, ConfirmWritesTheDialogsStateAndMovesTheWindowOnlyOnAChange) {
    SettingsFixture f;
    CDialogSetModel model(f.settings, f.folders, f.prompts);
    f.Watch(model);
    EXPECT_TRUE(model.Sound());
    EXPECT_FALSE(model.ShowOnTop());
    EXPECT_EQ(model.SaveType(), CDialogSetModel::SAVE_AUTO);

    model.SetSound(false);
    model.SetShowOnTop(true);
    model.SetSaveType(CDialogSetModel::SAVE_NEVER);
    // Values that no radio button stands for are not taken.
    model.SetSaveType(0);
    model.SetSaveType(7);
    EXPECT_EQ(model.SaveType(), CDialogSetModel::SAVE_NEVER);
    // Nothing reaches the settings before confirming.
    EXPECT_TRUE(f.settings.m_bSound);
    EXPECT_FALSE(f.settings.m_bShowOnTop);
    EXPECT_TRUE(f.onTopCalls.empty());

    ASSERT_TRUE(model.Confirm());
    EXPECT_FALSE(f.settings.m_bSound);
    EXPECT_TRUE(f.settings.m_bShowOnTop);
    EXPECT_EQ(f.settings.m_nSaveType, 3);
    EXPECT_EQ(f.onTopCalls, std::vector<bool>{true});
    const GameSettings saved = f.Reloaded();
    EXPECT_FALSE(saved.m_bSound);
    EXPECT_TRUE(saved.m_bShowOnTop);
    EXPECT_EQ(saved.m_nSaveType, 3);
    EXPECT_TRUE(f.prompts.notices.empty());

    // Confirming an unchanged dialog leaves the window alone but still rewrites the file.
    std::filesystem::remove(f.File());
    CDialogSetModel again(f.settings, f.folders, f.prompts);
    f.Watch(again);
    ASSERT_TRUE(again.Confirm());
    EXPECT_EQ(f.onTopCalls.size(), 1u);
    EXPECT_TRUE(f.Saved());
}

TEST(CDialogSetModelTest, APickedFolderIsSavedAtOnceAndTheRestOnlyOnConfirm) {
    SettingsFixture f;
    f.settings.m_strManualPath.clear();
    CDialogSetModel model(f.settings, f.folders, f.prompts);
    // Without a record folder the browser opens on the default one.
    EXPECT_EQ(model.FolderToBrowse(), f.folders.m_strRecordFolder);

    model.SetSound(false);
    // A cancelled browser changes nothing.
    EXPECT_TRUE(model.ChooseFolder(""));
    EXPECT_TRUE(f.settings.m_strManualPath.empty());
    EXPECT_FALSE(f.Saved());

    ASSERT_TRUE(model.ChooseFolder("/games/chess"));
    EXPECT_EQ(f.settings.m_strManualPath, "/games/chess/");
    EXPECT_EQ(model.FolderToBrowse(), "/games/chess/");
    // The folder is saved with the settings as they are, not with the unconfirmed sound switch;
    // the dialog is then closed without confirming.
    GameSettings saved = f.Reloaded();
    EXPECT_EQ(saved.m_strManualPath, "/games/chess/");
    EXPECT_TRUE(saved.m_bSound);
    EXPECT_TRUE(f.settings.m_bSound);

    ASSERT_TRUE(model.ChooseFolder("/"));
    EXPECT_EQ(f.Reloaded().m_strManualPath, "/");
}

TEST(CDialogSetModelTest, AFailedSaveTellsTheUserAndKeepsTheChangeInMemory) {
    SettingsFixture f;
    // The config folder cannot be made: a plain file stands in its parent's place.
    test::WriteFile(f.scratch.Folder() + "config", "");
    CDialogSetModel model(f.settings, f.folders, f.prompts);
    model.SetSound(false);
    EXPECT_FALSE(model.Confirm());
    EXPECT_FALSE(f.settings.m_bSound);
    EXPECT_FALSE(model.ChooseFolder("/games"));
    EXPECT_EQ(f.settings.m_strManualPath, "/games/");
    ASSERT_EQ(f.prompts.notices.size(), 2u);
    EXPECT_EQ(f.prompts.notices[0], " 文件(" + f.folders.m_strConfigFolder + ")无法保存 ！");
}

} // namespace
} // namespace kelo
