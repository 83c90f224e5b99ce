// kelo-chess: the table client.
#include "app/CGameContext.h"
#include "app/qt/CStartGameDBus.h"
#include "app/qt/CTableHost.h"
#include "ports/CAutoAnswerPrompts.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <memory>

namespace {

bool IsEmbedding(const QString& arg) {
    return arg.compare("-Embedding", Qt::CaseInsensitive) == 0 ||
           arg.compare("/Embedding", Qt::CaseInsensitive) == 0;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    kelo::CGameContext context;

    // For unattended runs the questions can be answered in advance.
    std::unique_ptr<kelo::IPrompts> autoPrompts;
    const QByteArray answer = qgetenv("KELO_AUTO_ANSWER");
    if (!answer.isEmpty()) {
        autoPrompts = std::make_unique<kelo::CAutoAnswerPrompts>(answer == "yes");
        context.SetPrompts(autoPrompts.get());
    }

    kelo::CTableHost host(context);
    // Started on its own: a local table on which one user plays both sides.
    if (args.isEmpty()) {
        host.OpenLocalTable();
        return app.exec();
    }
    if (!IsEmbedding(args.first())) {
        std::fprintf(stderr, "usage: kelo-chess [-Embedding]   (-Embedding: started by the hall "
                             "over D-Bus; without it a local table opens)\n");
        return 2;
    }

    kelo::CStartGameDBus startGame(context, &host);
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
