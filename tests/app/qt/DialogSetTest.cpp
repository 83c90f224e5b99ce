// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog on scratch settings: what it shows, what "确定" saves, what "取消" does
// not, and the folder button, which saves at once.
#include "app/CGameContext.h"
#include "app/CLocalTable.h"
#include "app/CMainViewModel.h"
#include "app/qt/CDialogSet.h"
#include "app/qt/CMainView.h"
#include "app/qt/SkinFallback.h"
#include "base/CDialogSetModel.h"
#include "base/CSkinManager.h"
#include "base/ScratchFolder.h"
#include "support/ManualEventLoop.h"
#include "support/TestSupport.h"
#include "support/qt/QtTestSupport.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace kelo {
namespace {

template <typename Widget> Widget* Find(QWidget& dialog, const char* text) {
    for (Widget* widget : dialog.findChildren<Widget*>()) {
        if constexpr (std::is_same_v<Widget, QGroupBox>) {
            if (widget->title() == QString::fromUtf8(text))
                return widget;
        } else if (widget->text() == QString::fromUtf8(text)) {
            return widget;
        }
    }
    ADD_FAILURE() << "no control " << text;
    return nullptr;
}

void Click(QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// Settings loaded from a scratch config folder that has no file yet.
struct ScratchSettings {
    test::ScratchFolder scratch;
    SettingsFolders folders;
    GameSettings settings;
    test::ScriptedPrompts prompts;

    ScratchSettings() {
        test::TestApp();
        folders.m_strConfigFolder = scratch.Folder() + "config/kelo-chess/";
        folders.m_strRecordFolder = scratch.Folder() + "records/";
        folders.m_strDataFolder = scratch.Folder() + "data/";
        LoadGameSettings(settings, folders);
    }
    std::string File() const { return folders.m_strConfigFolder + "ChessGame.ini"; }
    GameSettings Saved() const {
        GameSettings loaded;
        LoadGameSettings(loaded, folders);
        return loaded;
    }
};

TEST(DialogSet, ShowsEveryControlWithTheSettings) {
    ScratchSettings s;
    s.settings.m_bSound = false;
    s.settings.m_bShowOnTop = true;
    s.settings.m_nSaveType = 2;
    CDialogSetModel model(s.settings, s.folders, s.prompts);
    CDialogSet dialog(model);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("设置"));
    EXPECT_TRUE(dialog.isModal());
    EXPECT_NE(Find<QGroupBox>(dialog, "设置"), nullptr);
    EXPECT_NE(Find<QGroupBox>(dialog, "棋谱保存:"), nullptr);
    EXPECT_NE(Find<QLabel>(dialog, "单击\"保存到文件夹\"更改或查看棋谱保存的位置"), nullptr);
    for (const char* label : {"保存到文件夹", "确定", "取消"})
        EXPECT_NE(Find<QPushButton>(dialog, label), nullptr);
    EXPECT_FALSE(Find<QCheckBox>(dialog, "声音效果")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>(dialog, "棋盘总在最上面")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>(dialog, "自动保存")->isChecked());
    EXPECT_TRUE(Find<QRadioButton>(dialog, "提示保存")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>(dialog, "不保存")->isChecked());
    // Every control lies wholly inside the dialog, below its title band.
    for (QWidget* child : dialog.findChildren<QWidget*>()) {
        const QRect box(child->mapTo(&dialog, QPoint(0, 0)), child->size());
        EXPECT_TRUE(dialog.rect().contains(box)) << child->metaObject()->className();
        EXPECT_GE(box.top(), CTableDialog::TITLE_HEIGHT) << child->metaObject()->className();
    }

    // A save type that is none of the three checks no button.
    s.settings.m_nSaveType = 9;
    CDialogSetModel unknown(s.settings, s.folders, s.prompts);
    CDialogSet other(unknown);
    for (const char* label : {"自动保存", "提示保存", "不保存"})
        EXPECT_FALSE(Find<QRadioButton>(other, label)->isChecked()) << label;
}

TEST(DialogSet, OkSavesWhatWasChanged) {
    ScratchSettings s;
    CDialogSetModel model(s.settings, s.folders, s.prompts);
    std::vector<bool> onTop;
    model.onShowOnTop = [&onTop](bool on) { onTop.push_back(on); };
    CDialogSet dialog(model);
    dialog.show();
    Click(Find<QCheckBox>(dialog, "声音效果"));
    Click(Find<QCheckBox>(dialog, "棋盘总在最上面"));
    Click(Find<QRadioButton>(dialog, "不保存"));
    EXPECT_FALSE(std::filesystem::exists(s.File()));
    Click(Find<QPushButton>(dialog, "确定"));

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(onTop, std::vector<bool>{true});
    EXPECT_FALSE(s.settings.m_bSound);
    const GameSettings saved = s.Saved();
    EXPECT_FALSE(saved.m_bSound);
    EXPECT_TRUE(saved.m_bShowOnTop);
    EXPECT_EQ(saved.m_nSaveType, 3);
    EXPECT_EQ(saved.m_strManualPath, s.folders.m_strRecordFolder);
    EXPECT_TRUE(s.prompts.notices.empty());
}

TEST(DialogSet, CancelSavesNothingButAPickedFolderStays) {
    ScratchSettings s;
    const GameSettings before = s.settings;
    CDialogSetModel model(s.settings, s.folders, s.prompts);
    CDialogSet dialog(model);
    QStringList asked;
    QString answer;
    dialog.chooseFolder = [&](const QString& title, const QString& folder) {
        asked << title << folder;
        return answer;
    };
    dialog.show();
    Click(Find<QCheckBox>(dialog, "声音效果"));
    Click(Find<QRadioButton>(dialog, "提示保存"));
    // The record folder is not made yet: the browser opens on the folder above it. Cancelling
    // the browser saves nothing.
    const QString scratch = QString::fromStdString(s.scratch.Folder());
    Click(Find<QPushButton>(dialog, "保存到文件夹"));
    EXPECT_EQ(asked, QStringList({QStringLiteral("棋谱保存位置"), QDir::cleanPath(scratch)}));
    EXPECT_FALSE(std::filesystem::exists(s.File()));

    std::filesystem::create_directories(s.scratch.Folder() + "games");
    answer = scratch + "games";
    Click(Find<QPushButton>(dialog, "保存到文件夹"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(s.Saved().m_strManualPath, s.scratch.Folder() + "games/");
    // The next browse opens on the folder picked.
    asked.clear();
    answer.clear();
    Click(Find<QPushButton>(dialog, "保存到文件夹"));
    EXPECT_EQ(asked.value(1), scratch + "games");

    Click(Find<QPushButton>(dialog, "取消"));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    const GameSettings saved = s.Saved();
    EXPECT_EQ(saved.m_bSound, before.m_bSound);
    EXPECT_EQ(saved.m_nSaveType, before.m_nSaveType);
    EXPECT_EQ(s.settings.m_bSound, before.m_bSound);
    EXPECT_EQ(s.settings.m_nSaveType, before.m_nSaveType);
    EXPECT_EQ(s.settings.m_strManualPath, s.scratch.Folder() + "games/");

    // Escape closes the same way, the file untouched.
    std::filesystem::remove(s.File());
    CDialogSetModel again(s.settings, s.folders, s.prompts);
    CDialogSet escaped(again);
    escaped.show();
    Click(Find<QCheckBox>(escaped, "声音效果"));
    QTest::keyClick(&escaped, Qt::Key_Escape);
    EXPECT_FALSE(escaped.isVisible());
    EXPECT_FALSE(std::filesystem::exists(s.File()));
    EXPECT_EQ(s.settings.m_bSound, before.m_bSound);
}

// What "棋盘总在最上面" does to the table window once confirmed.
TEST(DialogSet, TheTableWindowGoesOnTopInItsPlace) {
    test::TestApp();
    CGameContext context;
    CLocalTable::Prepare(context);
    CSkinManager skin;
    skin.LoadSkin("/nonexistent/kelo-skin/", 1280);
    UseFallbackLayout(skin);
    test::ManualEventLoop loop;
    CMainViewModel model(context, loop, {});
    CMainView view(model, skin, nullptr);
    // As at start-up with the setting on: the window is not shown, nor placed, before its time.
    view.SetShowOnTop(true);
    EXPECT_TRUE(view.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(view.isVisible());
    EXPECT_FALSE(view.testAttribute(Qt::WA_Moved));
    view.move(40, 30);
    view.show();
    const QPoint place = view.pos();
    const QSize size = view.size();
    for (bool onTop : {false, false, true}) {
        view.SetShowOnTop(onTop);
        EXPECT_EQ(view.windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
        EXPECT_TRUE(view.windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_TRUE(view.isVisible());
        EXPECT_EQ(view.pos(), place);
        EXPECT_EQ(view.size(), size);
    }
}

} // namespace
} // namespace kelo
