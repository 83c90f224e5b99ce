// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/qt/CQtStockWords.h"

#include "support/qt/QtTestSupport.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QLibraryInfo>
#include <QWidget>

#include <gtest/gtest.h>

namespace kelo {
namespace {

// Qt's words stay English until the first context menu asks for them; from then on the stock
// buttons and menus speak Chinese.
TEST(QtStockWords, TheCatalogueComesWithTheFirstContextMenu) {
    test::TestApp();
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(folder + "/qtbase_zh_CN.qm"))
        GTEST_SKIP() << "Qt's Chinese catalogue is not installed (qt6-translations-l10n)";
    const auto yes = [] { return QCoreApplication::translate("QPlatformTheme", "&Yes"); };
    EXPECT_EQ(yes(), "&Yes");
    CQtStockWords::Watch();
    EXPECT_EQ(yes(), "&Yes") << "nothing is read before it is needed";
    // A plain widget shows no menu of its own; the application's filter sees the event first.
    QWidget plain;
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(1, 1));
    QCoreApplication::sendEvent(&plain, &menu);
    EXPECT_NE(yes(), "&Yes");
    EXPECT_TRUE(yes().contains(QStringLiteral("是")));
}

} // namespace
} // namespace kelo
