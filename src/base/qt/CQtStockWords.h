// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace kelo {

// Qt's own words in Chinese: the buttons of the stock message boxes and file dialogs ("是",
// "否", "打开", "保存") and the edit fields' context menus. The table speaks Chinese whatever
// the locale, so these must too. Qt's catalogue is read when it is first needed, not with the
// window: before a stock dialog opens (Load) or as the first context menu is asked for (Watch).
class CQtStockWords : public QObject {
public:
    // Reads the catalogue into the application once; later calls do nothing.
    static void Load();
    // Loads the catalogue as the application's first context menu event arrives.
    static void Watch();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CQtStockWords() = default;
};

} // namespace kelo
