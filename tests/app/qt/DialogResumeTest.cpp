// SPDX-License-Identifier: GPL-3.0-or-later
// The resume dialog on the index of a scratch record folder.
#include "app/qt/CDialogResume.h"
#include "app/qt/CDialogResumeAnswer.h"
#include "app/qt/CDialogResumeExit.h"
#include "app/qt/CQtPrompts.h"
#include "app/qt/CResumeDialogs.h"
#include "base/GameSettings.h"
#include "base/ScratchFolder.h"
#include "link/MSG_SEAL_ANSWER.h"
#include "link/MSG_SEAL_REQUEST.h"
#include "link/MessageTypes.h"
#include "support/ChessTable.h"
#include "support/ManualEventLoop.h"
#include "support/QuietResumeDialogs.h"
#include "support/qt/QtTestSupport.h"
#include "table/CResumeManager.h"
#include "table/CResumeNegotiation.h"
#include "table/qt/CNegotiationDlg.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace kelo {
namespace {

TEST(DialogResume, ListsDeletesAndRequests) {
    test::TestApp();
    test::ScratchFolder scratch;
    test::ChessTable table;
    table.people.SetSeatCount(2);
    table.StartPosition();
    ASSERT_TRUE(table.PlayLine("e2e4 e7e5"));
    table.state.BeginPlaying();
    GameSettings settings;
    settings.m_strManualPath = scratch.Folder();
    test::ScriptedPrompts prompts;
    test::ManualEventLoop loop;
    test::QuietResumeDialogs dialogs;
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
    dialog.show();
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("续盘窗口"));
    EXPECT_EQ(dialog.Title(), QString::fromUtf8("续盘窗口"));
    EXPECT_FALSE(dialog.grab().isNull());
    QStringList labels;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        labels << button->text();
        EXPECT_TRUE(dialog.rect().contains(button->geometry()));
    }
    EXPECT_EQ(labels, QString::fromUtf8("请求续盘|删除|添加残局|棋局预览|取消").split('|'));
    auto* tree = dialog.findChild<QTreeWidget*>();
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QString::fromUtf8("white_black_"));
    EXPECT_FALSE(test::ButtonNamed(dialog, QString::fromUtf8("添加残局"))->isEnabled());
    EXPECT_FALSE(test::ButtonNamed(dialog, QString::fromUtf8("棋局预览"))->isEnabled());

    // Nothing chosen: nothing happens.
    test::ButtonNamed(dialog, QString::fromUtf8("删除"))->click();
    EXPECT_EQ(tree->topLevelItemCount(), 2);
    tree->setCurrentItem(tree->topLevelItem(0));
    test::ButtonNamed(dialog, QString::fromUtf8("删除"))->click();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    manager.LoadIndex();
    ASSERT_EQ(manager.Entries().size(), 1u);
    EXPECT_EQ(manager.Entries()[0].path, paths[1]);

    tree->setCurrentItem(tree->topLevelItem(0));
    test::ButtonNamed(dialog, QString::fromUtf8("请求续盘"))->click();
    ASSERT_EQ(table.sender.sent.size(), 1u);
    EXPECT_EQ(table.sender.sent[0].type, MSG_RESUME_REQUEST);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

// A player's seal negotiation with the table window's dialogs.
struct SealTable {
    explicit SealTable(uint32_t ownId) : table(ownId) {
        test::TestApp();
        table.mode.SetRole(TableRole::Player);
    }
    test::ChessTable table;
    GameSettings settings;
    test::ScriptedPrompts prompts;
    test::ManualEventLoop loop;
    CResumeDialogs dialogs{prompts, [] { return nullptr; }};
    CResumeNegotiation negotiation{table.Parts(), table.table, settings, prompts, loop, dialogs};
};

// The own seal request opens the dialog in request mode with its countdown; the action button
// sends the request and closes it.
TEST(DialogResume, TheSealRequestDialogAsksAndCounts) {
    SealTable t(100);
    t.table.state.BeginPlaying();
    t.negotiation.RequestSeal();
    CDialogResumeExit* dialog = test::ShownTopLevel<CDialogResumeExit>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("封盘"));
    EXPECT_EQ(dialog->Title(), QString::fromUtf8("续盘退出"));
    const QString question = QString::fromUtf8(CResumeNegotiation::SEAL_QUESTION);
    t.loop.Advance(2000);
    EXPECT_EQ(dialog->TextLines(), (QStringList{question, "28"}));
    QStringList labels;
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        labels << button->text() + "/" + button->toolTip();
    EXPECT_EQ(labels, QString::fromUtf8("封盘保存,进入下一局/封盘保存|取消/").split('|'));
    dialog->findChildren<QPushButton*>()[0]->click();
    ASSERT_EQ(t.table.sender.sent.size(), 1u);
    EXPECT_EQ(t.table.sender.sent[0].type, MSG_SEAL_REQUEST);
    EXPECT_FALSE(dialog->isVisible());
}

// The opponent's seal request opens the seal answer dialog in the table's look with its
// countdown; "同意" answers and closes it.
TEST(DialogResume, TheSealAnswerDialogAnswersAndCounts) {
    SealTable t(200);
    const auto request = MSG_SEAL_REQUEST_BODY{0, 4, 0}.ToWire();
    t.negotiation.HandleMessage(MSG_SEAL_REQUEST, request.data(), request.size());
    CDialogResumeExit* dialog = test::ShownTopLevel<CDialogResumeExit>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("封盘应答"));
    EXPECT_EQ(dialog->Title(), QString::fromUtf8("续盘退出"));
    const QString question = QString::fromUtf8(CResumeNegotiation::SEAL_NEXT_QUESTION);
    EXPECT_EQ(dialog->TextLines(), (QStringList{question, "30"}));
    t.loop.Advance(3000);
    EXPECT_EQ(dialog->TextLines(), (QStringList{question, "27"}));
    EXPECT_EQ(test::ButtonLabels(*dialog), QString::fromUtf8("同意|不同意").split('|'));
    test::ButtonNamed(*dialog, QString::fromUtf8("同意"))->click();
    ASSERT_EQ(t.table.sender.sent.size(), 1u);
    EXPECT_EQ(t.table.sender.sent[0].type, MSG_SEAL_ANSWER);
    MSG_SEAL_ANSWER_BODY answer;
    ASSERT_TRUE(MSG_SEAL_ANSWER_BODY::FromWire(t.table.sender.sent[0].body.data(),
                                               t.table.sender.sent[0].body.size(), answer));
    EXPECT_EQ(answer.agree, 1);
    EXPECT_EQ(answer.moveNumber, 4);
    EXPECT_FALSE(dialog->isVisible());
}

// The resume answer: its texts, buttons and countdown; a second click answers nothing more.
TEST(DialogResume, TheResumeAnswerDialogAnswersOnce) {
    test::TestApp();
    std::vector<bool> answers;
    const QString question = QString::fromUtf8("white[0][me:1]请求续盘，你同意么？");
    auto* dialog = new CDialogResumeAnswer(question, [&](bool agree) { answers.push_back(agree); });
    dialog->show();
    EXPECT_TRUE(dialog->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("续盘应答"));
    EXPECT_EQ(dialog->TextLines(), (QStringList{question, "30"}));
    dialog->SetSeconds(12);
    EXPECT_EQ(dialog->TextLines(), (QStringList{question, "12"}));
    EXPECT_FALSE(dialog->grab().isNull());
    EXPECT_EQ(test::ButtonLabels(*dialog), QString::fromUtf8("同意|不同意").split('|'));
    QPushButton* refuse = test::ButtonNamed(*dialog, QString::fromUtf8("不同意"));
    ASSERT_NE(refuse, nullptr);
    refuse->click();
    refuse->click();
    EXPECT_EQ(answers, std::vector<bool>{false});
    delete dialog;
}

// The prompts ask the save question and the game's name through the table's dialogs.
TEST(DialogResume, ThePromptsUseTheTablesDialogs) {
    test::TestApp();
    test::ManualEventLoop loop;
    CQtPrompts prompts("Kelo", loop, QImage());
    // Presses a button of the modal dialog once it is open.
    auto press = [](const char* label, const char* typed = nullptr) {
        QTimer::singleShot(0, [label, typed] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            if (typed != nullptr)
                modal->findChild<QLineEdit*>()->setText(QString::fromUtf8(typed));
            for (QPushButton* button : modal->findChildren<QPushButton*>())
                if (button->text() == QString::fromUtf8(label))
                    button->click();
        });
    };
    press("保存");
    EXPECT_TRUE(prompts.Verify("本局游戏结束，您要保存棋局么？", "保存", "放弃"));
    press("放弃");
    EXPECT_FALSE(prompts.Verify("本局游戏结束，您要保存棋局么？", "保存", "放弃"));
    std::string name = "white_black_";
    press("确定", "甲乙");
    EXPECT_TRUE(prompts.InputText("请输入续盘名称", "封盘名：", name));
    EXPECT_EQ(name, "甲乙");

    // An information: the table's notice dialog counting down its 20 s; a modal one returns
    // once its button closed it.
    QTimer::singleShot(0, [] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        EXPECT_EQ(modal->windowTitle(), QString::fromUtf8("提示"));
        test::ButtonNamed(*modal, QString::fromUtf8("关闭"))->click();
    });
    prompts.ShowInformation("请不要中途退出，玩完这把好吧？", true);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    prompts.ShowInformation("对方不同意你的续盘退出请求！", false);
    CNegotiationDlg* notice = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* dialog = dynamic_cast<CNegotiationDlg*>(window); dialog && dialog->isVisible())
            notice = dialog;
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->TextLines(), QStringList{"[20]对方不同意你的续盘退出请求！"});
    QPointer<CNegotiationDlg> open = notice;
    loop.Advance(20 * 1000);
    QApplication::processEvents();
    EXPECT_TRUE(open.isNull() || !open->isVisible());
}

} // namespace
} // namespace kelo
