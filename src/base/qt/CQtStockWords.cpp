// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/qt/CQtStockWords.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace kelo {

void CQtStockWords::Load() {
    // Only qtbase's catalogue: the others hold nothing the table shows.
    static std::unique_ptr<QTranslator> words;
    if (words != nullptr || QCoreApplication::instance() == nullptr)
        return;
    words = std::make_unique<QTranslator>();
    if (words->load(QStringLiteral("qtbase_zh_CN"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(words.get());
}

void CQtStockWords::Watch() {
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr)
        return;
    // Owned by the application; it leaves once the catalogue is in.
    auto* watcher = new CQtStockWords;
    watcher->setParent(application);
    application->installEventFilter(watcher);
}

bool CQtStockWords::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        Load();
        QCoreApplication::instance()->removeEventFilter(this);
    }
    return false;
}

} // namespace kelo
