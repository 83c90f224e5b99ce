// The resume dialog on the index of a scratch record folder.
#include "app/qt/CDialogResume.h"
#include "base/GameSettings.h"
#include "base/ScratchFolder.h"
#include "link/MessageTypes.h"
#include "support/ChessTable.h"
#include "support/ManualEventLoop.h"
#include "table/CResumeManager.h"
#include "table/CResumeNegotiation.h"

#include <QApplication>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace kelo {
namespace {

// The test program's one application, whichever test made it first.
QApplication& TheApp() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *existing;
    static int argc = 1;
    static char name[] = "kelo_tests_app_qt";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

class NoDialogs : public IResumeDialogs {
public:
    void OpenSealAnswer(const std::string&) override {}
    void OpenResumeAnswer(const std::string&) override {}
    void ShowInformation(const std::string&) override {}
};

QPushButton* Button(QDialog& dialog, const char* text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == QString::fromUtf8(text))
            return button;
    return nullptr;
}

TEST(DialogResume, ListsDeletesAndRequests) {
    TheApp();
    test::ScratchFolder scratch;
    test::ChessTable table;
    table.people.SetSeatCount(2);
    table.StartPosition();
    ASSERT_TRUE(table.PlayLine("e2e4 e7e5"));
    table.state.SetState(GameState::Playing);
    GameSettings settings;
    settings.m_strManualPath = scratch.Folder();
    test::ScriptedPrompts prompts;
    test::ManualEventLoop loop;
    NoDialogs dialogs;
    CResumeNegotiation negotiation(table.Parts(), table.table, settings, prompts, loop, dialogs);
    CResumeManager manager(table.Parts(), table.board, settings, prompts);
    std::vector<std::string> paths;
    for (int i = 0; i < 2; ++i) {
        manager.m_localTime = [i] {
            std::tm t{};
            t.tm_min = i;
            return t;
        };
        paths.push_back(manager.SaveGame(CResumeManager::SAVE_SEAL));
    }

    CDialogResume dialog(manager, negotiation);
    auto* tree = dialog.findChild<QTreeWidget*>();
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QString::fromUtf8("white_black_"));
    EXPECT_FALSE(Button(dialog, "添加残局")->isEnabled());
    EXPECT_FALSE(Button(dialog, "棋局预览")->isEnabled());

    // Nothing chosen: nothing happens.
    Button(dialog, "删除")->click();
    EXPECT_EQ(tree->topLevelItemCount(), 2);
    tree->setCurrentItem(tree->topLevelItem(0));
    Button(dialog, "删除")->click();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    manager.LoadIndex();
    ASSERT_EQ(manager.Entries().size(), 1u);
    EXPECT_EQ(manager.Entries()[0].path, paths[1]);

    tree->setCurrentItem(tree->topLevelItem(0));
    Button(dialog, "请求续盘")->click();
    ASSERT_EQ(table.sender.sent.size(), 1u);
    EXPECT_EQ(table.sender.sent[0].type, MSG_RESUME_REQUEST);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
} // namespace kelo
