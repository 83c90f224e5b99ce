// SPDX-License-Identifier: GPL-3.0-or-later
// The question and the input dialogs in the table's look, offscreen: their texts, buttons and
// what the buttons answer.
#include "support/qt/QtTestSupport.h"
#include "table/qt/CDialogInput.h"
#include "table/qt/CDialogVerify.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace kelo {
namespace {

TEST(DialogVerify, TextsButtonsAndTheAnswer) {
    test::TestApp();
    const struct {
        QString question, ok, cancel, press;
        bool confirmed;
    } cases[] = {
        {"本局游戏结束，您要保存棋局么？", "保存", "放弃", "保存", true},
        {"本局游戏结束，您要保存棋局么？", "保存", "放弃", "放弃", false},
        // A long question and a long button label still fit.
        {"你真的请求封盘并结束本局游戏么？", "封盘保存,进入下一局", "取消", "封盘保存,进入下一局",
         true},
    };
    for (const auto& c : cases) {
        CDialogVerify dialog(c.question, c.ok, c.cancel);
        dialog.show();
        EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
        EXPECT_TRUE(dialog.isModal());
        EXPECT_EQ(dialog.windowTitle(), "确认窗口");
        EXPECT_EQ(dialog.Title(), "确认提示");
        EXPECT_EQ(dialog.TextLines(), QStringList{c.question});
        EXPECT_EQ(test::ButtonLabels(dialog), (QStringList{c.ok, c.cancel}));
        const QFontMetrics metrics(CTableDialog::DialogFont(14));
        EXPECT_GE(dialog.width(), metrics.horizontalAdvance(c.question));
        for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
            EXPECT_TRUE(dialog.rect().contains(button->geometry())) << c.ok.toStdString();
            EXPECT_GE(button->width(),
                      QFontMetrics(button->font()).horizontalAdvance(button->text()));
        }
        EXPECT_FALSE(dialog.grab().isNull());
        QTest::mouseClick(test::ButtonNamed(dialog, c.press), Qt::LeftButton);
        EXPECT_EQ(dialog.Confirmed(), c.confirmed);
        EXPECT_EQ(dialog.result(), c.confirmed ? QDialog::Accepted : QDialog::Rejected);
    }
    // Closed without a button: not confirmed.
    CDialogVerify dialog("?", "确定", "取消");
    dialog.show();
    dialog.close();
    EXPECT_FALSE(dialog.Confirmed());
}

TEST(DialogInput, TheLabelTheLineAndOneButton) {
    test::TestApp();
    CDialogInput dialog("请输入续盘名称", "封盘名：", "white_black_");
    dialog.show();
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(dialog.windowTitle(), "请输入续盘名称");
    EXPECT_EQ(dialog.Title(), "请输入续盘名称");
    EXPECT_EQ(dialog.TextLines(), QStringList{"封盘名："});
    EXPECT_EQ(test::ButtonLabels(dialog), QStringList{"确定"});
    auto* edit = dialog.findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(dialog.Text(), "white_black_");
    EXPECT_TRUE(dialog.rect().contains(edit->geometry()));
    EXPECT_FALSE(dialog.grab().isNull());
    edit->clear();
    edit->insert("甲乙");
    QTest::mouseClick(test::ButtonNamed(dialog, "确定"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Text(), "甲乙");
}

} // namespace
} // namespace kelo
