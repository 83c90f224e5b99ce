// SPDX-License-Identifier: GPL-3.0-or-later
// The table's dialogs as windows, offscreen: their texts, buttons and countdown in both modes,
// what a click does, and the result dialog's size and values.
#include "link/MSG_SCORES.h"
#include "support/ManualEventLoop.h"
#include "support/TestSupport.h"
#include "support/qt/QtTestSupport.h"
#include "table/CNegotiationDialog.h"
#include "table/CPlayerManager.h"
#include "table/CResultDialogModel.h"
#include "table/qt/CDialogResult.h"
#include "table/qt/CNegotiationDlg.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace kelo {
namespace {

using Kind = CNegotiationDialog::Kind;

TEST(NegotiationDlg, TextsButtonsAndCountdownInBothModes) {
    test::TestApp();
    const struct {
        Kind kind;
        bool request;
        QString caption;
        QStringList buttons;
        QStringList lines, linesAfterASecond;
    } cases[] = {
        {Kind::BackPace,
         true,
         "",
         {"确定", "取消"},
         {"确定要悔棋吗？[30]"},
         {"确定要悔棋吗？[29]"}},
        {Kind::BackPace,
         false,
         "",
         {"同意", "不同意"},
         {"对方要悔棋，同意吗？[30]"},
         {"对方要悔棋，同意吗？[29]"}},
        {Kind::Peace,
         true,
         "",
         {"确定", "取消"},
         {"[30]您真的要和棋么？"},
         {"[29]您真的要和棋么？"}},
        {Kind::Peace,
         false,
         "和棋应答",
         {"同意", "不同意"},
         {"[30]“Bob”要和棋，您同意么？"},
         {"[29]“Bob”要和棋，您同意么？"}},
        {Kind::Exchange,
         true,
         "交换",
         {"确定", "取消"},
         {"[30]您真的要交换棋子么？"},
         {"[29]您真的要交换棋子么？"}},
        {Kind::Exchange,
         false,
         "交换应答",
         {"同意", "不同意"},
         {"[30]对方想要交换棋子,您同意么?"},
         {"[29]对方想要交换棋子,您同意么?"}},
        {Kind::GameClose,
         true,
         "退出",
         {"强行退出", "请求退出", "取消"},
         {"您真的要结束本局游戏么？", "30"},
         {"您真的要结束本局游戏么？", "29"}},
        {Kind::GameClose,
         false,
         "退出应答",
         {"同意", "不同意"},
         {"对方请求退出，你同意么？", "您真的要结束本局游戏么？", "30"},
         {"对方请求退出，你同意么？", "您真的要结束本局游戏么？", "29"}},
        {Kind::Information, true, "提示", {"关闭"}, {"[20]Bob"}, {"[19]Bob"}},
    };
    for (const auto& c : cases) {
        test::ManualEventLoop loop;
        CNegotiationDialog model(c.kind, c.request, loop, nullptr, "Bob");
        QPointer<CNegotiationDlg> window = new CNegotiationDlg(model);
        window->show();
        EXPECT_EQ(window->windowTitle(), c.caption);
        EXPECT_FALSE(window->isModal());
        EXPECT_EQ(test::ButtonLabels(*window), c.buttons) << c.lines.join('|').toStdString();
        EXPECT_EQ(window->TextLines(), c.lines);
        loop.Advance(1000);
        EXPECT_EQ(window->TextLines(), c.linesAfterASecond);
        EXPECT_FALSE(window->grab().isNull());
        if (c.kind == Kind::GameClose) {
            EXPECT_EQ(window->size(), QSize(280, 115));
            if (c.request) {
                EXPECT_EQ(test::ButtonNamed(*window, "强行退出")->toolTip(), "强退");
            }
        }
        delete window;
        EXPECT_FALSE(model.IsClosed()) << "closing the window alone answers nothing";
    }
}

TEST(NegotiationDlg, AClickAnswersAndTheWindowCloses) {
    test::TestApp();
    for (const QString& label : {QStringLiteral("同意"), QStringLiteral("不同意")}) {
        test::ManualEventLoop loop;
        std::vector<int32_t> commands;
        CNegotiationDialog model(Kind::BackPace, false, loop,
                                 [&](int32_t id) { commands.push_back(id); });
        QPointer<CNegotiationDlg> window = new CNegotiationDlg(model);
        window->show();
        QTest::mouseClick(test::ButtonNamed(*window, label), Qt::LeftButton);
        EXPECT_EQ(commands, std::vector<int32_t>{label == "同意" ? CNegotiationDialog::ID_AGREE
                                                                 : CNegotiationDialog::ID_REFUSE});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.isNull()) << "the window goes with its answer";
    }
    // The countdown's end closes the window too.
    test::ManualEventLoop loop;
    int refused = 0;
    CNegotiationDialog model(
        Kind::Peace, false, loop, [&](int32_t) { ++refused; }, "Bob");
    QPointer<CNegotiationDlg> window = new CNegotiationDlg(model);
    window->show();
    loop.Advance(30000);
    EXPECT_EQ(refused, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST(DialogResult, SizeButtonAndSignedValues) {
    test::TestApp();
    CPlayerManager people;
    people.SetSeatCount(2);
    people.AddPerson(test::MakePerson(100, "white", 0));
    people.AddPerson(test::MakePerson(200, "black", 1));
    MSG_SCORES_BODY scores;
    scores.points = {10, -10};
    scores.total = {10, -10};
    scores.won = {1, 0};
    scores.lost = {0, 1};
    QPointer<CDialogResult> window =
        new CDialogResult(CResultDialogModel("white[white]成功将杀！", people, scores));
    window->show();
    EXPECT_EQ(window->size(), QSize(290, 22 * 4 + 38 + 40));
    EXPECT_FALSE(window->isModal());
    QPushButton* close = test::ButtonNamed(*window, "关闭");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->geometry(), QRect(115, 131, 60, 30));
    EXPECT_EQ(close->toolTip(), "关闭窗口");
    EXPECT_EQ(window->Model().Cell(1, 1), "-10");
    EXPECT_FALSE(window->grab().isNull());
    // A second score opens a second dialog beside the first.
    QPointer<CDialogResult> second = new CDialogResult(CResultDialogModel("", people, scores));
    second->show();
    QTest::mouseClick(close, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_FALSE(second.isNull());
    delete second;
}

} // namespace
} // namespace kelo
