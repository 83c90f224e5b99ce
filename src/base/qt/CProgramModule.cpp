// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/qt/CProgramModule.h"

#include <QCoreApplication>

#include <cstdio>

namespace kelo {

QStringList CProgramModule::PathsOf(const QString& name) {
    const QString program = QCoreApplication::applicationDirPath();
    return {program + QLatin1Char('/') + name,
            program + QStringLiteral("/../lib/games/kelo-chess/") + name};
}

void* CProgramModule::Entry(const char* name) {
    if (m_bTried)
        return m_pEntry;
    m_bTried = true;
    QString errors;
    for (const QString& path : m_paths) {
        m_library.setFileName(path);
        m_pEntry = reinterpret_cast<void*>(m_library.resolve(name));
        if (m_pEntry != nullptr)
            return m_pEntry;
        errors += QStringLiteral("\n  ") + m_library.errorString();
    }
    std::fprintf(stderr, "kelo-chess: a module of the program is missing:%s\n", qPrintable(errors));
    return nullptr;
}

} // namespace kelo
