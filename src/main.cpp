// SPDX-License-Identifier: GPL-3.0-or-later
// kelo-chess: the table client.
#include "app/CCommandLine.h"
#include "app/CGameContext.h"
#include "app/CServerRegistration.h"
#include "app/qt/CHallClients.h"
#include "app/qt/CInstanceLock.h"
#include "app/qt/CPracticeLauncher.h"
#include "app/qt/CStartGameDBus.h"
#include "app/qt/CTableHost.h"
#include "base/SettingsFolders.h"
#include "base/qt/CQtStockWords.h"
#include "ports/CAutoAnswerPrompts.h"

#include <QApplication>
#include <QDBusConnection>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::vector<std::string> args;
    for (const QString& arg : app.arguments().mid(1))
        args.push_back(QFile::encodeName(arg).toStdString());
    const kelo::CCommandLine line = kelo::CCommandLine::Parse(args);
    using Action = kelo::CCommandLine::Action;
    if (line.m_action == Action::Help) {
        std::fputs(kelo::CCommandLine::USAGE, stdout);
        return 0;
    }
    if (line.m_action == Action::Error) {
        std::fprintf(stderr, "kelo-chess: %s (see kelo-chess --help)\n", line.m_strError.c_str());
        return 2;
    }

    // A program run from its build folder refreshes at every start how the desktop and the
    // hall find it; an installed one leaves that to its package, whose files the user's own
    // would shadow and outlive. A file that cannot be written is skipped and the start goes on.
    const std::string folder =
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    const std::string data = kelo::SettingsFolders::DataFolderOf(folder);
    const bool installed = data != kelo::WithTrailingSlash(folder);
    kelo::CServerRegistration::Paths paths = kelo::CServerRegistration::DefaultPaths(
        QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
    if (!installed)
        paths.m_strIcon = data + kelo::CServerRegistration::BUILD_TREE_ICON;
    kelo::CServerRegistration registration(paths);
    registration.WriteInstallRecord();
    if (line.m_action == Action::Unregister) {
        registration.Unregister();
        return 0;
    }
    if (line.m_action == Action::Register || !installed)
        registration.Register();
    if (line.m_action == Action::Register)
        return 0;

    // Qt's own boxes and menus speak Chinese too, from the first one on.
    kelo::CQtStockWords::Watch();

    kelo::CGameContext context;
    // For unattended runs the questions can be answered in advance.
    std::unique_ptr<kelo::IPrompts> autoPrompts;
    const QByteArray answer = qgetenv("KELO_AUTO_ANSWER");
    if (!answer.isEmpty()) {
        autoPrompts = std::make_unique<kelo::CAutoAnswerPrompts>(answer == "yes");
        context.SetPrompts(autoPrompts.get());
    }
    kelo::CTableHost host(context);

    if (line.m_action == Action::Direct || line.m_action == Action::Practice) {
        // One directly started table at a time, local or against the computer; a second start
        // leaves the first alone.
        kelo::CInstanceLock lock(kelo::CInstanceLock::DefaultPath());
        if (!lock.TryLock())
            return 0;
        if (line.m_action == Action::Direct) {
            host.OpenLocalTable(line.m_strRecordPath);
            return app.exec();
        }
        // The server and the bot end before the table they serve.
        kelo::CPracticeLauncher practice(context, host, line.m_practice);
        if (!practice.Start())
            return 0;
        const int status = app.exec();
        practice.Stop();
        return status;
    }

    // Started for the hall: wait for its calls, and end once every hall client that called
    // has left the bus and none has come back for a while.
    kelo::CStartGameDBus startGame(context, &host);
    kelo::CHallClients clients(QDBusConnection::sessionBus());
    QObject::connect(&startGame, &kelo::CStartGameDBus::Called, &clients,
                     &kelo::CHallClients::NoteCaller);
    QObject::connect(&clients, &kelo::CHallClients::AllGone, &app, [] {
        std::printf("hall gone\n");
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    QString error;
    if (!startGame.Register(&error)) {
        std::fprintf(stderr, "kelo-chess: cannot offer %s on the session bus: %s\n",
                     kelo::CStartGameDBus::SERVICE, qPrintable(error));
        return 1;
    }
    std::printf("registered %s\n", kelo::CStartGameDBus::SERVICE);
    std::fflush(stdout);
    return app.exec();
}
