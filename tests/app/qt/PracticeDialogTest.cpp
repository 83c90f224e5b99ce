// SPDX-License-Identifier: GPL-3.0-or-later
// The dialog of a game against the computer: only what the command line left out is asked, and
// the keys choose as in any dialog (Tab between the groups, arrows, Home and End within one,
// Enter and Escape).
#include "app/CPracticeDialogModel.h"
#include "app/qt/CPracticeDialog.h"
#include "support/qt/QtTestSupport.h"

#include <QApplication>
#include <QGroupBox>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace kelo {
namespace {

class PracticeDialog : public ::testing::Test {
protected:
    void SetUp() override { test::TestApp(); }
};

// Shows the dialog as the active window, its first group holding the focus.
void Open(CPracticeDialog& dialog) {
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

// Presses the keys on whatever holds the focus, one after the other.
void Keys(std::initializer_list<Qt::Key> keys) {
    for (const Qt::Key key : keys) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key);
    }
}

QStringList GroupTitles(const QWidget& dialog) {
    QStringList titles;
    for (const QGroupBox* box : dialog.findChildren<QGroupBox*>())
        titles << box->title();
    return titles;
}

TEST_F(PracticeDialog, TheKeysChooseAndEnterStarts) {
    CPracticeDialogModel model{PracticeRequest{}};
    CPracticeDialog dialog(model, false);
    Open(dialog);
    EXPECT_EQ(GroupTitles(dialog).size(), 3);
    EXPECT_EQ(test::ButtonLabels(dialog), (QStringList{"开始", "取消"}));
    // The level runs on from 4 to 5 across the rows, and stops at 8.
    Keys({Qt::Key_Right});
    EXPECT_EQ(model.Level(), 5);
    Keys({Qt::Key_End, Qt::Key_Right});
    EXPECT_EQ(model.Level(), 8);
    Keys({Qt::Key_Up});
    EXPECT_EQ(model.Level(), 7);
    // Tab: the colour, where the chosen button holds the focus; End: 随机.
    Keys({Qt::Key_Tab, Qt::Key_End});
    EXPECT_EQ(model.Colour(), PracticeColour::Random);
    Keys({Qt::Key_Tab, Qt::Key_Home});
    EXPECT_EQ(model.TimeIndex(), 0u);
    // Shift+Tab goes back to the colour group, and Home to White.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    Keys({Qt::Key_Home});
    EXPECT_EQ(model.Colour(), PracticeColour::White);
    Keys({Qt::Key_Return});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    const PracticeChoice choice = model.Choice();
    EXPECT_EQ(choice.level, 7);
    EXPECT_EQ(choice.colour, PracticeColour::White);
    EXPECT_EQ(choice.time, (PracticeTime{300, 20, 2}));
}

// The keys of the lead's script: level 1, White, the first clocks, Enter.
TEST_F(PracticeDialog, HomeOnEveryGroup) {
    CPracticeDialogModel model{PracticeRequest{}};
    CPracticeDialog dialog(model, false);
    Open(dialog);
    Keys({Qt::Key_Home, Qt::Key_Tab, Qt::Key_Home, Qt::Key_Tab, Qt::Key_Home, Qt::Key_Return});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(model.Choice().level, 1);
    EXPECT_EQ(model.Choice().colour, PracticeColour::White);
    EXPECT_EQ(model.Choice().time, (PracticeTime{300, 20, 2}));
}

TEST_F(PracticeDialog, EscapeCancels) {
    CPracticeDialogModel model{PracticeRequest{}};
    CPracticeDialog dialog(model, false);
    Open(dialog);
    Keys({Qt::Key_Right, Qt::Key_Escape});
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(PracticeDialog, AsksOnlyWhatWasNotGiven) {
    PracticeRequest given;
    given.level = 2;
    given.time = PracticeTime{600, 30, 5};
    CPracticeDialogModel model(given);
    CPracticeDialog dialog(model, false);
    Open(dialog);
    ASSERT_EQ(GroupTitles(dialog).size(), 1);
    EXPECT_EQ(dialog.findChildren<QRadioButton*>().size(), 3);
    Keys({Qt::Key_Right, Qt::Key_Return});
    EXPECT_EQ(model.Choice().colour, PracticeColour::Black);
    EXPECT_EQ(model.Choice().level, 2);
    EXPECT_EQ(model.Choice().time, (PracticeTime{600, 30, 5}));
}

TEST_F(PracticeDialog, BetweenGamesEverythingOnTheChoiceInForce) {
    CPracticeDialogModel model(PracticeChoice{6, PracticeColour::Black, {90, 15, 0}});
    CPracticeDialog dialog(model, true);
    Open(dialog);
    EXPECT_EQ(test::ButtonLabels(dialog), (QStringList{"确定", "取消"}));
    EXPECT_EQ(dialog.Title(), "对弈设置（下一局起）");
    QStringList checked;
    for (const QRadioButton* radio : dialog.findChildren<QRadioButton*>()) {
        if (radio->isChecked())
            checked << radio->text();
    }
    EXPECT_EQ(checked, (QStringList{"6级 强", "黑方", "自定  90秒 每步15秒 加0秒"}));
    // Every choice fits the dialog.
    for (const QRadioButton* radio : dialog.findChildren<QRadioButton*>()) {
        const QRect place(radio->mapTo(&dialog, QPoint(0, 0)), radio->size());
        EXPECT_TRUE(dialog.rect().contains(place)) << radio->text().toStdString();
        EXPECT_GE(radio->width(), radio->sizeHint().width()) << radio->text().toStdString();
    }
}

} // namespace
} // namespace kelo
