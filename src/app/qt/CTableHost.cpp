// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/CTableHost.h"

#include "app/CGameContext.h"
#include "app/CHallPresence.h"
#include "app/CLocalTable.h"
#include "app/CMainFrame.h"
#include "app/CMainViewModel.h"
#include "app/qt/CDesktopBrowser.h"
#include "app/qt/CDialogResume.h"
#include "app/qt/CDialogSet.h"
#include "app/qt/CMainView.h"
#include "app/qt/CQtPrompts.h"
#include "app/qt/CResumeDialogs.h"
#include "app/qt/SkinFallback.h"
#include "base/CDialogSetModel.h"
#include "base/CGbkConverter.h"
#include "base/CSkinManager.h"
#include "base/GameSettings.h"
#include "base/SettingsFolders.h"
#include "base/qt/SkinQt.h"
#include "chess/CChnChessBoard.h"
#include "link/CCommunicationLayer.h"
#include "link/qt/CDeferredSocketControl.h"
#include "ports/qt/CQtEventLoop.h"
#include "ports/qt/CQtSoundPlayer.h"
#include "social/CBaseChatView.h"
#include "social/CBaseGameinfoView.h"
#include "social/CZynChatImp.h"
#include "social/CZynPersonListImp.h"
#include "social/qt/CPersonListWnd.h"
#include "table/CResumeManager.h"
#include "table/CTableBoard.h"
#include "table/qt/CDialogManualWnd.h"
#include "table/qt/CDialogResult.h"
#include "table/qt/CNegotiationDlg.h"

#include <QAction>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMetaObject>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>

namespace kelo {

namespace {
void Say(const char* what, const std::string& text) {
    std::printf("%s: %s\n", what, text.c_str());
    std::fflush(stdout);
}

// The hall's own service; its window is brought to the front when it is on the bus.
const char* const HALL_SERVICE = "com.zandor.KeloHall";
const char* const HALL_PATH = "/Hall";
const char* const HALL_INTERFACE = "com.zandor.KeloHall";
// Skin and sounds: in the build tree next to the program when run from a build, else in the
// installed data folder.
QString DataFolder() {
    const std::string program =
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    return QFile::decodeName(SettingsFolders::DataFolderOf(program).c_str());
}

void RaiseHall() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusConnectionInterface* names = bus.isConnected() ? bus.interface() : nullptr;
    if (names == nullptr || !names->isServiceRegistered(HALL_SERVICE))
        return;
    bus.asyncCall(QDBusMessage::createMethodCall(HALL_SERVICE, HALL_PATH, HALL_INTERFACE, "Raise"));
}
} // namespace

CTableHost::CTableHost(CGameContext& context) : m_context(context) {}

CTableHost::~CTableHost() {
    // The window goes before the model it draws; the members go in reverse order after it, so
    // the model leaves the link's registry before the frame that holds the link goes.
    m_pView.reset();
    if (m_pPrompts != nullptr)
        m_context.SetPrompts(nullptr);
}

void CTableHost::CreateWindow() {
    // The skin is read once, for the screen the program starts on.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int width = screen != nullptr ? screen->geometry().width() : 1024;
    const QString data = DataFolder();
    m_pSkin = std::make_unique<CSkinManager>();
    m_pSkin->LoadSkin(data.toStdString(), width);
    if (UseFallbackLayout(*m_pSkin))
        Say("skin", "not found below " + data.toStdString() + ", plain layout");
    else
        Say("skin", m_pSkin->m_strSkinFolder);

    // The record folder and what happens to a finished game's record.
    const SettingsFolders folders = SettingsFolders::DefaultFolders(data.toStdString());
    LoadGameSettings(m_context.Settings(), folders);
    // Asked at every sound, so a change in the settings dialog is heard at once.
    m_pSound = std::make_unique<CQtSoundPlayer>(data + "sound/",
                                                [this] { return m_context.Settings().m_bSound; });
    // Answers given in advance (unattended runs) stay; otherwise the user answers.
    if (qEnvironmentVariableIsEmpty("KELO_AUTO_ANSWER")) {
        const QString caption = m_pSkin->m_strTitle.size() >= 2
                                    ? QString::fromStdString(m_pSkin->m_strTitle)
                                    : QStringLiteral("国际象棋");
        m_pPrompts = std::make_unique<CQtPrompts>(caption, *m_pLoop,
                                                  LoadSkinImage(m_pSkin->m_strChessPiecePath));
        m_context.SetPrompts(m_pPrompts.get());
    }
    const CTableClient::Social social{*this, [this] {
                                          return m_pFrame->LinkDown() == 0 &&
                                                 m_context.CommunicationLayer().IsConnected();
                                      }};
    // The seal and resume dialogs open over the window.
    m_pResumeDialogs =
        std::make_unique<CResumeDialogs>(m_context.Prompts(), [this] { return m_pView.get(); });
    // Every game end offers to save the game as the settings say.
    m_pModel = std::make_unique<CMainViewModel>(
        m_context, *m_pLoop,
        CMainViewModel::Ports{
            m_pSound.get(), this, [this] { SaveRecord(CResumeManager::SAVE_GAME_END); }, &social,
            m_pResumeDialogs.get(), [this] { return m_pFrame->LinkDown() != 0; }});
    m_pModel->Client().PersonList()->SetColours(*m_pSkin);
    if (m_pPrompts != nullptr)
        m_pPrompts->SetPromotionColour([this] { return m_pModel->BoardWindow().MoverColour(); });
    m_pView = std::make_unique<CMainView>(*m_pModel, *m_pSkin, m_pSound.get());
    LoadHeadPictures();
    if (m_pPrompts != nullptr) {
        m_pPrompts->SetParent(m_pView.get());
        // A notice or an information is an ending, a refusal or a warning: an alert.
        m_pPrompts->SetSpoken([this](const std::string& text) {
            if (m_pView != nullptr)
                m_pView->Announce(text, true);
        });
    }
    m_pView->onClose = [this] { DecideClose(); };
    // Sealing and the adjourned games are reached from the window's menu (right button).
    m_pView->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* seal = new QAction(QStringLiteral("封盘"), m_pView.get());
    QObject::connect(seal, &QAction::triggered, [this] { m_pModel->Resume().RequestSeal(); });
    auto* resume = new QAction(QStringLiteral("续盘"), m_pView.get());
    QObject::connect(resume, &QAction::triggered, [this] { OpenResumeDialog(); });
    m_pView->addAction(seal);
    m_pView->addAction(resume);
    m_pView->onHall = [] { RaiseHall(); };
    m_pView->SetShowOnTop(m_context.Settings().m_bShowOnTop);
    m_pView->onSettings = [this, folders] {
        CDialogSetModel model(m_context.Settings(), folders, m_context.Prompts());
        model.onShowOnTop = [this](bool onTop) { m_pView->SetShowOnTop(onTop); };
        CDialogSet dialog(model, m_pView.get());
        dialog.exec();
    };
    m_pModel->SetStudyOpener([this] {
        CDialogManualWnd::Open(*m_pView, m_pModel->Client().Board().Board().Position(),
                               m_context.PlayerManager(), *m_pLoop, *m_pSkin, m_pSound.get());
    });
    const CHallSettings& hall = m_context.Hall();
    m_pModel->Commands().SetHelp(&CDesktopBrowser::Instance(), folders.m_strDataFolder);
    // A local table's page is set with its players. A hall that names no page gets the one a
    // local table shows, rather than an empty frame.
    std::string adv = CGbkConverter::ToUtf8(hall.AdvertisementAddress());
    if (adv.empty())
        adv = CLocalTable::ADV_PAGE;
    m_pView->SetAdvertisement(adv, "Kelo 国际象棋");
}

void CTableHost::LoadHeadPictures() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const std::string hall = CHallPresence::HallFolder(QFile::encodeName(config).toStdString());
    // A table the hall opened has a hall; a direct start has none by design and is not
    // reminded of it at every local game.
    // Told once the hall's call has returned, so the hall never waits on the box.
    if (hall.empty() && !m_bDirectStart)
        QTimer::singleShot(0, m_pView.get(),
                           [this] { m_context.Prompts().ShowNotice(CHallPresence::NO_HALL); });
    // Without the hall's pictures, the program's own, which lie in the same layout.
    std::vector<std::string> paths = CHallPresence::HeadPictures(hall);
    if (paths.empty())
        paths = CHallPresence::HeadPictures(QFile::encodeName(DataFolder()).toStdString());
    std::vector<QImage> pictures;
    for (const std::string& path : paths)
        pictures.push_back(LoadSkinImage(path));
    Say("head pictures", std::to_string(pictures.size()));
    m_pView->SetHeadPictures(std::move(pictures));
}

void CTableHost::OpenResumeDialog() {
    CResumeManager manager(m_context.Table(), m_context.Board(), m_context.Settings(),
                           m_context.Prompts());
    CDialogResume dialog(manager, m_pModel->Resume(), m_pView.get());
    dialog.exec();
}

void CTableHost::DecideClose() {
    if (m_bClosed)
        return;
    if (m_bDeciding || m_nSaving > 0) {
        m_bCloseWaits = true;
        return;
    }
    m_bDeciding = true;
    const bool closes = m_pFrame == nullptr || m_pFrame->OnClose();
    m_bDeciding = false;
    if (!closes) {
        RunWaitingClose();
        return;
    }
    Say("window", "closed");
    m_bClosed = true;
    if (m_pView != nullptr)
        m_pView->CloseNow();
    // What the table still hears while the program ends (the echo of its own leave, while a
    // game against the computer waits for its bot to go) asks nobody any more.
    if (m_pPrompts != nullptr)
        m_context.SetPrompts(nullptr);
    QCoreApplication::quit();
}

void CTableHost::RunWaitingClose() {
    if (!m_bCloseWaits || m_bDeciding || m_nSaving > 0)
        return;
    m_bCloseWaits = false;
    CloseWindow(TableClose::Closed);
}

CZynChatImp* CTableHost::ChatLines() const {
    return m_pModel != nullptr ? m_pModel->Client().ChatLines() : nullptr;
}

void CTableHost::OpenLocalTable(const std::string& recordPath) {
    m_bDirectStart = true;
    CLocalTable::Prepare(m_context);
    Say("local table", recordPath.empty() ? "without a record" : recordPath);
    ShowWindow();
    CLocalTable::TakeStyleLibrary(m_context);
    if (recordPath.empty())
        return;
    // The record goes to the table as a resume request and its agreement, as at a server.
    m_pModel->Resume().ResumeRecordPath(recordPath);
}

void CTableHost::ShowWindow() {
    if (m_pFrame == nullptr) {
        m_pLoop = std::make_unique<CQtEventLoop>();
        m_pSocket = std::make_unique<CDeferredSocketControl>();
        m_pFrame = std::make_unique<CMainFrame>(m_context, *m_pLoop, *m_pSocket, *this);
        CreateWindow();
        CTableClient& client = m_pModel->Client();
        m_pView->SetSocial(*client.ChatLines(), *client.PersonList());
        // In the table client's one order, the chat and the people last.
        m_pModel->RegisterSinks(m_pFrame->Link());
        Say("window", "shown");
    } else {
        Say("window", "shown again");
    }
    m_pView->show();
    m_pView->BringToFront();
    m_pFrame->Connect();
}

void CTableHost::RegisterSink(IMessageSink& sink) {
    if (m_pFrame != nullptr)
        m_pFrame->Link().Registry().RegisterSink(&sink);
}

void CTableHost::UnregisterSink(IMessageSink& sink) {
    if (m_pFrame != nullptr)
        m_pFrame->Link().Registry().UnregisterSink(&sink);
}

void CTableHost::UpdatePerson(const PERSON& person) {
    m_context.PlayerManager().AddPerson(person);
    const CPlayerRecord* record = m_context.PlayerManager().GetPersonById(person.id);
    if (m_pModel == nullptr || record == nullptr)
        return;
    if (CZynPersonListImp* list = m_pModel->Client().PersonList())
        list->UpdatePerson(record->person);
    if (m_pView != nullptr) {
        m_pView->update();
        if (QWidget* people = m_pView->PersonListWindow())
            people->update();
    }
}

void CTableHost::RequestExchange() {
    if (m_pModel != nullptr)
        m_pModel->Negotiation().SendExchangeRequest();
}

bool CTableHost::GameUnderWay() const {
    return m_context.State().State() == GameState::Playing;
}

void CTableHost::ShowAdvMessage(const std::string& header, const std::string& link,
                                const std::string& text) {
    Say("chat", CGbkConverter::ToUtf8(text) + " <" + CGbkConverter::ToUtf8(link) + ">");
    if (CZynChatImp* chat = ChatLines())
        chat->AddAdvertisement(header, link, text);
}

void CTableHost::ShowInstantMessage(const std::string& text) {
    AddSystemLine(CGbkConverter::ToUtf8(text), CHAT_SYSTEM_COLOUR);
}

void CTableHost::AddSystemLine(const std::string& text, uint32_t colour) {
    Say("chat", text);
    if (CZynChatImp* chat = ChatLines())
        chat->AddSystemLine(text, colour);
    // The red lines (endings, broken connections, warnings) must not pass unheard.
    if (m_pView != nullptr)
        m_pView->Announce(text, colour == CHAT_SYSTEM_COLOUR);
}

void CTableHost::CloseWindow(TableClose) {
    // The frame decided; the close itself runs from the event loop, as a posted close would.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [this] { DecideClose(); }, Qt::QueuedConnection);
}

void CTableHost::SaveGame(int mode) {
    // The frame offers the end-of-game save only as the table closes: the table's game ends
    // there, with one offer.
    if (mode == CResumeManager::SAVE_GAME_END && m_pModel != nullptr)
        m_pModel->Client().CloseGame();
    else
        SaveRecord(mode);
}

void CTableHost::SaveRecord(int mode) {
    ++m_nSaving;
    const std::string path = CResumeManager(m_context.Table(), m_context.Board(),
                                            m_context.Settings(), m_context.Prompts())
                                 .SaveGame(mode);
    --m_nSaving;
    Say("save", std::to_string(mode) + (path.empty() ? " nothing saved" : " " + path));
    RunWaitingClose();
}

void CTableHost::OpenExitDialog(bool requestMode, uint16_t seat, const std::string&) {
    // The user's own exit dialog is open once: a further close brings it to the front.
    if (requestMode && m_pExitDialog != nullptr) {
        m_pExitDialog->raise();
        m_pExitDialog->activateWindow();
        return;
    }
    // The dialog says its own texts in either mode.
    if (m_pModel != nullptr)
        m_pModel->Negotiation().OpenExitDialog(requestMode, seat);
}

void CTableHost::OpenDialog(CNegotiationDialog& dialog) {
    Say("dialog", dialog.Text());
    auto* window = new CNegotiationDlg(dialog, m_pView.get());
    // A request or an answer must not pass unheard; it is said while it is asked.
    if (m_pView != nullptr)
        m_pView->AnnounceWhile(dialog.Text(), *window);
    // The user's own exit dialog holds the table until it is answered: the board and the
    // buttons take nothing meanwhile.
    if (dialog.GetKind() == CNegotiationDialog::Kind::GameClose && dialog.RequestMode()) {
        window->setWindowModality(Qt::WindowModal);
        m_pExitDialog = window;
    }
    window->show();
}

void CTableHost::CloseTable() {
    if (m_pFrame != nullptr)
        m_pFrame->CloseTable();
}

void CTableHost::OpenResultDialog(const CResultDialogModel& result) {
    Say("result", result.Line());
    if (m_pView != nullptr)
        m_pView->Announce(result.Line().empty() ? std::string("本局结束") : result.Line(), true);
    auto* window = new CDialogResult(result, m_pView.get());
    window->show();
}

} // namespace kelo
