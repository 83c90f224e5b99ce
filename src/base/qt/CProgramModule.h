// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLibrary>
#include <QString>
#include <QStringList>

namespace kelo {

// A module of the program's own (a shared library opened at run time), so that a part with a
// heavy stack of libraries (sound, network) is loaded when it is first needed, not with the
// window. The module is looked for once, at each path in turn; once loaded it stays loaded.
class CProgramModule {
public:
    // The places of the module NAME: beside the program in a build tree, lib/games/kelo-chess/
    // beside its games/ when installed. A path is given without its ".so".
    static QStringList PathsOf(const QString& name);

    explicit CProgramModule(QStringList paths) : m_paths(std::move(paths)) {}

    // The module's entry point of that name, loading the module on the first call; nullptr when
    // no path holds a module with it (said once on the standard error, with why).
    void* Entry(const char* name);
    bool Loaded() const { return m_library.isLoaded(); }

private:
    QStringList m_paths;
    QLibrary m_library;
    bool m_bTried = false;
    void* m_pEntry = nullptr;
};

} // namespace kelo
