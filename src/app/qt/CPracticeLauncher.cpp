// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/CPracticeLauncher.h"

#include "app/CGameContext.h"
#include "app/CPracticeDialogModel.h"
#include "app/CPracticeTable.h"
#include "app/StartGame.h"
#include "app/qt/CMainView.h"
#include "app/qt/CPracticeDialog.h"
#include "app/qt/CTableHost.h"
#include "base/GameSettings.h"
#include "base/SettingsFolders.h"
#include "base/qt/CQtStockWords.h"
#include "engine/CEngineLocator.h"
#include "link/CMessageRev.h"
#include "social/IChatSink.h"
#include "table/CPlayerManager.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>

#include <cstdio>

namespace kelo {

namespace {

// The chat's colour (0x00BBGGRR) of what the table says about the computer, which is no alert.
constexpr uint32_t INFO_COLOUR = 0x00905000;
// The bot's and the server's time to end by themselves on a normal close: the bot leaves when
// the person's leave reaches it, the server when its control input closes.
constexpr int BOT_GRACE_MS = 1500;
constexpr int SERVER_GRACE_MS = 1000;
// When the table takes the keyboard after the dialog, once it is on the screen.
constexpr int WINDOW_ACTIVATE_MS = 300;
// How long the server may take to say where it listens.
constexpr int SERVER_START_MS = 10000;

void Say(const std::string& line) {
    std::printf("practice %s\n", line.c_str());
    std::fflush(stdout);
}

QStringList Arguments(const std::vector<std::string>& args) {
    QStringList list;
    for (const std::string& arg : args)
        list << QString::fromStdString(arg);
    return list;
}

bool CoinSaysWhite() {
    return QRandomGenerator::global()->bounded(2) == 1;
}

std::string ColourWords(PracticeColour colour) {
    switch (colour) {
    case PracticeColour::White:
        return "执白";
    case PracticeColour::Black:
        return "执黑";
    case PracticeColour::Random:
        break;
    }
    return "执子随机";
}

} // namespace

CPracticeLauncher::CPracticeLauncher(CGameContext& context, CTableHost& host,
                                     PracticeRequest request)
    : m_context(context), m_host(host), m_request(std::move(request)) {
    m_strLogFolder = qEnvironmentVariable("KELO_PRACTICE_LOG");
    if (!m_strLogFolder.isEmpty())
        QDir().mkpath(m_strLogFolder);
    m_server.onLine = [this](const std::string& line) { OnServerLine(line); };
    m_server.onEnded = [this](int status, const std::string& why) {
        Say("server ended " + std::to_string(status) + (why.empty() ? "" : " " + why));
        if (!m_bTableOpen) {
            Notice("对弈服务器无法启动" + (why.empty() ? std::string() : "（" + why + "）") + "。");
            QCoreApplication::quit();
            return;
        }
        Tell("对弈服务器意外停止了。", true);
    };
    m_bot.onLine = [this](const std::string& line) { OnBotLine(line); };
    m_bot.onEnded = [this](int status, const std::string& why) {
        Say("bot ended " + std::to_string(status) + (why.empty() ? "" : " " + why));
        // An engine that is missing or failed has been told of by its own line.
        if (status != 3)
            Tell("电脑棋手离开了" + (why.empty() ? std::string() : "（" + why + "）") + "。", true);
    };
}

CPracticeLauncher::~CPracticeLauncher() {
    Stop();
}

bool CPracticeLauncher::Start() {
    // The engine's command: the option's, else the settings', else whichever is found.
    const std::string folder =
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    GameSettings settings;
    LoadGameSettings(settings,
                     SettingsFolders::DefaultFolders(SettingsFolders::DataFolderOf(folder)));
    const std::string configured =
        !m_request.engineCommand.empty() ? m_request.engineCommand : settings.m_strEngineCommand;
    const CEngineLocator::Result engine = CEngineLocator().Locate(configured);
    if (!engine.command) {
        Say("no engine: " + engine.message);
        if (!Ask(engine.message + "\n\n要改为两人在本机对弈吗？", "双人对弈（本机）", "退出"))
            return false;
        m_host.OpenLocalTable();
        return true;
    }
    m_strEngine = configured;
    if (m_strEngine.empty()) {
        m_strEngine = engine.command->program;
        for (const std::string& arg : engine.command->args)
            m_strEngine += " " + arg;
    }

    const QString server =
        ToolPath(QStringLiteral("kelo-table-server"), QStringLiteral("table-server"));
    if (server.isEmpty() ||
        ToolPath(QStringLiteral("kelo-bot"), QStringLiteral("kelo-bot")).isEmpty()) {
        Notice("找不到对弈服务器或电脑棋手的程序（kelo-table-server、kelo-bot），它们应在 " +
               folder + " 里。");
        return false;
    }

    CPracticeDialogModel model(m_request);
    if (model.AsksAnything()) {
        CPracticeDialog dialog(model, false);
        if (dialog.exec() != QDialog::Accepted)
            return false;
    }
    m_pTable = std::make_unique<CPracticeTable>(
        model.Choice(), qEnvironmentVariable("USER").toStdString(), CoinSaysWhite());
    m_server.Start(server, Arguments(m_pTable->ServerArguments()),
                   m_strLogFolder.isEmpty() ? QString() : m_strLogFolder + "/server.log");
    // The server listens at once; one that says nothing is not waited for in silence.
    QTimer::singleShot(SERVER_START_MS, this, [this] {
        if (m_bTableOpen || m_bStopped)
            return;
        m_server.Stop(0);
        Notice("对弈服务器没有启动（" + std::to_string(SERVER_START_MS / 1000) +
               " 秒内没有回应）。");
        QCoreApplication::quit();
    });
    return true;
}

void CPracticeLauncher::OnServerLine(const std::string& line) {
    if (m_bTableOpen || m_bStopped)
        return;
    if (const auto port = CPracticeTable::ListeningPort(line))
        OpenTable(*port);
}

void CPracticeLauncher::OpenTable(uint16_t port) {
    m_bTableOpen = true;
    Say(std::string("server ") + CPracticeTable::HOST + ":" + std::to_string(port));
    // The engine takes longer to start than the window: the bot starts it while the window is
    // built. What the bot says is read from the loop, once the window is there.
    m_bot.Start(ToolPath(QStringLiteral("kelo-bot"), QStringLiteral("kelo-bot")),
                Arguments(m_pTable->BotArguments(port, m_strEngine)),
                m_strLogFolder.isEmpty() ? QString() : m_strLogFolder + "/bot.log");
    // The person sits down as a hall seats a player: the same calls, in this process.
    StartGame hall(m_context, &m_host);
    m_pTable->Seat(hall, port);
    m_host.MarkDirectStart();
    hall.ShowWindow();
    m_host.RegisterSink(*this);
    Tell(CPracticeTable::STARTING, false);

    if (CMainView* view = m_host.View()) {
        // The dialog had the keyboard: once the table is on the screen, it takes it (without a
        // window manager nothing else would give it).
        QTimer::singleShot(WINDOW_ACTIVATE_MS, view, [view] { view->activateWindow(); });
        auto* settings = new QAction(QStringLiteral("对弈设置（等级、执子、时间）"), view);
        connect(settings, &QAction::triggered, this, [this] { ChangeSettings(); });
        view->addAction(settings);
    }
}

void CPracticeLauncher::OnBotLine(const std::string& line) {
    if (m_bStopped)
        return;
    using Kind = CPracticeTable::BotReport::Kind;
    const CPracticeTable::BotReport report = CPracticeTable::ReadBotLine(line);
    switch (report.kind) {
    case Kind::Ready:
        m_bEngineReady = true;
        m_pTable->SetEngineName(report.text);
        m_host.UpdatePerson(m_pTable->BotPerson());
        break;
    case Kind::Missing:
    case Kind::Gone:
        // Once seated, the bot tells the table itself (and resigns the game in progress).
        if (!m_bAnnounced)
            Tell("电脑棋手无法开始：" + report.text, true);
        return;
    case Kind::Other:
        return;
    }
    AnnounceBot();
}

void CPracticeLauncher::OnMessageRev(const CMessageRev& message) {
    if (m_bStopped || m_pTable == nullptr)
        return;
    if (CPracticeTable::NamesBot(message.Type(), message.Body(), message.Length())) {
        m_bBotSeated = true;
        AnnounceBot();
    }
}

void CPracticeLauncher::AnnounceBot() {
    // Told once, when the bot sits at the table with its engine's name: its output and the
    // table's messages may come in either order.
    if (!m_bBotSeated || !m_bEngineReady || m_bAnnounced)
        return;
    m_bAnnounced = true;
    const std::string name = m_pTable->BotNickname();
    Tell(std::string(CPracticeTable::SEATED) + name, false);
    Say("bot ready " + name);
}

void CPracticeLauncher::ChangeSettings() {
    if (m_pTable == nullptr)
        return;
    if (m_host.GameUnderWay()) {
        m_context.Prompts().ShowNotice("本局正在进行。等级、执子和时间请在本局结束后更改。");
        return;
    }
    CPracticeDialogModel model(m_pTable->Choice());
    CPracticeDialog dialog(model, true, m_host.View());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const PracticeChoice choice = model.Choice();
    const CPracticeTable::Changes changes =
        m_pTable->Change(choice, m_context.PlayerManager().GetOwnColour(), CoinSaysWhite());
    if (!changes.botLine.empty())
        m_bot.WriteLine(changes.botLine);
    if (!changes.serverLine.empty())
        m_server.WriteLine(changes.serverLine);
    m_host.UpdatePerson(m_pTable->BotPerson());
    if (changes.exchange)
        m_host.RequestExchange();
    Tell("下一局：" + m_pTable->BotNickname() + "，" + ColourWords(choice.colour) + "，" +
             CPracticeDialogModel::TimeLabel(choice.time),
         false);
}

void CPracticeLauncher::Stop() {
    if (m_bStopped)
        return;
    m_bStopped = true;
    m_host.UnregisterSink(*this);
    m_bot.Stop(BOT_GRACE_MS);
    m_server.Stop(SERVER_GRACE_MS);
}

void CPracticeLauncher::Tell(const std::string& text, bool alert) {
    m_host.AddSystemLine(text, alert ? CHAT_SYSTEM_COLOUR : INFO_COLOUR);
}

bool CPracticeLauncher::Ask(const std::string& question, const std::string& yes,
                            const std::string& no) {
    // Answers given in advance (unattended runs) are the context's prompts already.
    if (!qEnvironmentVariableIsEmpty("KELO_AUTO_ANSWER"))
        return m_context.Prompts().Verify(question, yes, no);
    CQtStockWords::Load();
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(CPracticeDialogModel::TITLE),
                    QString::fromStdString(question));
    QPushButton* confirm = box.addButton(QString::fromStdString(yes), QMessageBox::AcceptRole);
    box.addButton(QString::fromStdString(no), QMessageBox::RejectRole);
    box.setDefaultButton(confirm);
    box.exec();
    return box.clickedButton() == confirm;
}

void CPracticeLauncher::Notice(const std::string& text) {
    Say("notice " + text);
    // Before the window, the context's prompts are the answers given in advance, or silent.
    if (!qEnvironmentVariableIsEmpty("KELO_AUTO_ANSWER") || m_bTableOpen) {
        m_context.Prompts().ShowNotice(text);
        return;
    }
    CQtStockWords::Load();
    QMessageBox::information(nullptr, QString::fromUtf8(CPracticeDialogModel::TITLE),
                             QString::fromStdString(text));
}

QString CPracticeLauncher::ToolPath(const QString& name, const QString& buildFolder) {
    const QString here = QCoreApplication::applicationDirPath();
    for (const QString& path : {here + "/" + name, here + "/tools/" + buildFolder + "/" + name}) {
        const QFileInfo file(path);
        if (file.isFile() && file.isExecutable())
            return file.absoluteFilePath();
    }
    return {};
}

} // namespace kelo
