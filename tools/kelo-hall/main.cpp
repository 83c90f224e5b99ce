// SPDX-License-Identifier: GPL-3.0-or-later
// kelo-hall: plays the hall's part. It configures a running table client over the session bus
// from command-line options, then asks it to show its window, and holds on to the table as the
// hall does: the client ends a few seconds after its last hall has left the bus.
#include "PersonOption.h"

#include "app/CHallPresence.h"
#include "base/SettingsFolders.h"
#include "link/PERSON.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr const char* SERVICE = "com.zandor.KeloChessGame";
constexpr const char* PATH = "/StartGame";
constexpr const char* INTERFACE = "com.zandor.KeloChessGame.IStartGame";

const char* USAGE = R"(usage: kelo-hall [options]
Writes the hall's install record ($XDG_CONFIG_HOME/zandor/Zandor.ini, naming the program's
data folder with its head pictures) unless a hall is installed, gives each person the head
picture of its id modulo their number, configures the table client on the session bus as the
hall does, then calls ShowWindow and
stays until the client leaves the bus (its window closed) or kelo-hall is stopped (Ctrl-C);
the client ends 5 s after its last hall has gone.
  --player ID:USERNAME:NICKNAME:SEAT      a seated player (repeatable)
  --watcher ID:USERNAME:NICKNAME:WATCHNO[:SEAT]
                                          a watcher (repeatable): WATCHNO is its watcher
                                          number, SEAT (default 0) the seat it watches
                                          behind; it follows that seat's side and has that
                                          seat's colour
  --me USERNAME                           the own user (SetMe)
  --my-id ID                              the own id (SetMyID)
  --seats N                               seat count (SetSeatNum, default 2)
  --desk N                                desk number (AddRoomInfo1)
  --room N                                room id (AddRoomInfo1)
  --types SERVICE,GAME,SUB                SetSubType
  --server HOST:PORT                      the game server (SetGameSockIp)
  --local                                 a local table (SetWatchStyle 2)
  --watch                                 join as a watcher (SetWatchStyle 1); without
                                          either, a player at the server (SetWatchStyle 0)
  --proxy-style USE,SOCK4,PASSWD          SetProxyStyle
  --proxy HOST:PORT[:USER:PASSWORD]       SetProxy
  --no-show                               do not call ShowWindow (and end at once)
  --detach                                call ShowWindow and end at once
  --dry-run                               print the calls, one a line, instead of making
                                          them (Join_Team and ShowWindow are not printed)
  --join-team USERNAME:ID                 call Join_Team and report AgreeOrNot
  --wait SECONDS                          how long to wait for AgreeOrNot (default 3)
  --help                                  this text
)";

// The hall's own folder: the program's data folder, which holds the head pictures in the
// hall's layout (room/headpica/). Installed, that is ../share/kelo-chess/; in the build tree,
// the tree's top, two folders up from tools/kelo-hall/. Empty when neither has them.
std::string HallFolder() {
    const std::string program =
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    for (const std::string& folder :
         {kelo::SettingsFolders::DataFolderOf(program), program + "/../../"}) {
        if (!kelo::CHallPresence::HeadPictures(folder).empty())
            return QFile::encodeName(QDir::cleanPath(QFile::decodeName(folder.c_str())) + '/')
                .toStdString();
    }
    return {};
}

int Fail(const QString& error) {
    std::fprintf(stderr, "kelo-hall: %s\n", qPrintable(error));
    return 2;
}

// A 16-bit argument, as the interface's "n" wants it.
QVariant Short(const QString& text) {
    return QVariant::fromValue<short>(text.toShort());
}

// The person record as the hall hands it over.
QByteArray PersonRecord(const kelo::PERSON& person) {
    return QByteArray(reinterpret_cast<const char*>(&person), sizeof(person));
}

// One call as --dry-run shows it: the method and its arguments; a person record by its id and
// seat.
QString CallText(const QString& method, const QVariantList& arguments) {
    QStringList parts{method};
    for (const QVariant& argument : arguments) {
        if (argument.typeId() == QMetaType::QByteArray) {
            kelo::PERSON person{};
            const QByteArray bytes = argument.toByteArray();
            std::memcpy(&person, bytes.constData(),
                        std::min<size_t>(sizeof(person), static_cast<size_t>(bytes.size())));
            parts << QString("id=%1,seat=%2,watchno=%3")
                         .arg(person.id)
                         .arg(person.seatno)
                         .arg(person.watchno);
        } else {
            parts << argument.toString();
        }
    }
    return parts.join(' ');
}

// Prints the hall interface's event when it comes.
class AgreeCatcher : public QObject {
    Q_OBJECT
public:
    bool m_bReceived = false;
public slots:
    void AgreeOrNot(short roomno, short isagree, int joined_id) {
        m_bReceived = true;
        std::printf("AgreeOrNot roomno=%d isagree=%d joined_id=%d\n", roomno, isagree, joined_id);
        emit Received();
    }
signals:
    void Received();
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);

    std::vector<std::pair<QString, QVariantList>> calls;
    // Each person gets one of the hall's head pictures, by its id.
    const std::string hallFolder = HallFolder();
    const auto headPictures =
        static_cast<uint32_t>(kelo::CHallPresence::HeadPictures(hallFolder).size());
    bool show = true;
    bool dryRun = false;
    bool detach = false;
    QString joinTeam;
    int waitSeconds = 3;
    // The client starts alone at its table: a table at the server is said so every time.
    short watchStyle = 0;
    short seats = 2;
    short desk = 0, room = 0;
    bool room1 = false;
    auto value = [&](int& i) -> QString { return i + 1 < args.size() ? args[++i] : QString(); };

    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == "--help" || a == "-h") {
            std::fputs(USAGE, stdout);
            return 0;
        } else if (a == "--player" || a == "--watcher") {
            // Any seat the 16-bit seat number holds, whatever --seats says.
            const QString text = value(i);
            const auto role = a == "--watcher" ? kelo::PersonOption::Role::Watcher
                                               : kelo::PersonOption::Role::Player;
            std::string error;
            const auto person = kelo::PersonOption::Parse(text.toStdString(), role, 0x8000, error);
            if (!person)
                return Fail(a + " " + text + ": " + QString::fromStdString(error));
            kelo::PERSON record = *person;
            record.headpicid =
                static_cast<int16_t>(headPictures > 0 ? record.id % headPictures : 0);
            calls.emplace_back("AddPerson", QVariantList{PersonRecord(record)});
        } else if (a == "--me") {
            calls.emplace_back("SetMe", QVariantList{value(i)});
        } else if (a == "--my-id") {
            calls.emplace_back("SetMyID", QVariantList{value(i).toInt()});
        } else if (a == "--seats") {
            seats = value(i).toShort();
        } else if (a == "--desk" || a == "--room") {
            // Both go through AddRoomInfo1 at the end, with whatever the other one is.
            (a == "--desk" ? desk : room) = value(i).toShort();
            room1 = true;
        } else if (a == "--types") {
            const QStringList t = value(i).split(',');
            if (t.size() != 3)
                return Fail("--types needs SERVICE,GAME,SUB");
            calls.emplace_back("SetSubType", QVariantList{Short(t[0]), Short(t[1]), Short(t[2]),
                                                          QVariant::fromValue<short>(0)});
        } else if (a == "--server") {
            const QStringList hp = value(i).split(':');
            bool ok = false;
            const int port = hp.size() == 2 ? hp[1].toInt(&ok) : 0;
            if (!ok || port <= 0 || port > 65535)
                return Fail("--server needs HOST:PORT");
            calls.emplace_back("SetGameSockIp",
                               QVariantList{hp[0], QVariant::fromValue<short>(short(port))});
        } else if (a == "--local" || a == "--watch") {
            watchStyle = a == "--local" ? 2 : 1;
        } else if (a == "--proxy-style") {
            const QStringList t = value(i).split(',');
            if (t.size() != 3)
                return Fail("--proxy-style needs USE,SOCK4,PASSWD");
            calls.emplace_back("SetProxyStyle",
                               QVariantList{Short(t[0]), Short(t[1]), Short(t[2])});
        } else if (a == "--proxy") {
            const QStringList p = value(i).split(':');
            if (p.size() != 2 && p.size() != 4)
                return Fail("--proxy needs HOST:PORT[:USER:PASSWORD]");
            calls.emplace_back("SetProxy", QVariantList{p[0], Short(p[1]), p.value(2), p.value(3)});
        } else if (a == "--no-show") {
            show = false;
        } else if (a == "--dry-run") {
            dryRun = true;
        } else if (a == "--detach") {
            detach = true;
        } else if (a == "--join-team") {
            joinTeam = value(i);
        } else if (a == "--wait") {
            waitSeconds = value(i).toInt();
        } else {
            return Fail("unknown option " + a + " (see --help)");
        }
    }

    calls.emplace_back("SetSeatNum", QVariantList{QVariant::fromValue<short>(seats)});
    calls.emplace_back("SetWatchStyle", QVariantList{QVariant::fromValue<short>(watchStyle)});
    if (room1) {
        calls.emplace_back("AddRoomInfo1", QVariantList{QVariant::fromValue<short>(desk),
                                                        QVariant::fromValue<short>(0),
                                                        QVariant::fromValue<short>(room)});
    }
    if (dryRun) {
        for (const auto& [method, arguments] : calls)
            std::printf("%s\n", qPrintable(CallText(method, arguments)));
        return 0;
    }

    // The hall is installed before it calls the client, as the real one is: its record names
    // its folder, whose head pictures the table shows.
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (hallFolder.empty() ||
        !kelo::CHallPresence::Install(QFile::encodeName(config).toStdString(), hallFolder))
        std::fprintf(stderr, "kelo-hall: the hall's install record could not be written\n");

    // A client that has just started, or that replaces one that has just gone, may take a
    // moment to own its name on the bus.
    if (QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface()) {
        for (int i = 0; i < 50 && !bus->isServiceRegistered(SERVICE); ++i)
            QThread::msleep(100);
    }
    QDBusInterface hall(SERVICE, PATH, INTERFACE, QDBusConnection::sessionBus());
    if (!hall.isValid())
        return Fail(QString("the table client is not on the session bus (%1)").arg(SERVICE));

    for (const auto& [method, arguments] : calls) {
        const QDBusMessage reply = hall.callWithArgumentList(QDBus::Block, method, arguments);
        if (reply.type() == QDBusMessage::ErrorMessage)
            return Fail(method + ": " + reply.errorMessage());
    }

    if (!joinTeam.isEmpty()) {
        const QStringList p = joinTeam.split(':');
        if (p.size() != 2)
            return Fail("--join-team needs USERNAME:ID");
        // Listen before asking, so the answer cannot slip by.
        AgreeCatcher catcher;
        QDBusConnection::sessionBus().connect(SERVICE, PATH, INTERFACE, "AgreeOrNot", &catcher,
                                              SLOT(AgreeOrNot(short, short, int)));
        QObject::connect(&catcher, &AgreeCatcher::Received, &app, &QCoreApplication::quit);
        hall.asyncCall("Join_Team", p[0], p[1].toInt());
        QTimer::singleShot(waitSeconds * 1000, &app, &QCoreApplication::quit);
        app.exec();
        if (!catcher.m_bReceived)
            std::printf("no AgreeOrNot\n");
        std::fflush(stdout);
    }
    if (!show)
        return 0;
    // Watch before asking, so a client that goes at once is not missed.
    QDBusServiceWatcher watcher(SERVICE, QDBusConnection::sessionBus(),
                                QDBusServiceWatcher::WatchForUnregistration);
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, &app,
                     &QCoreApplication::quit);
    const QDBusMessage reply = hall.call("ShowWindow");
    if (reply.type() == QDBusMessage::ErrorMessage)
        return Fail("ShowWindow: " + reply.errorMessage());
    if (detach)
        return 0;
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    if (bus != nullptr && !bus->isServiceRegistered(SERVICE).value())
        return 0;
    return app.exec();
}

#include "main.moc"
