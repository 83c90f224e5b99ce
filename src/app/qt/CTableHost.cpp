#include "app/qt/CTableHost.h"

#include "app/CGameContext.h"
#include "app/CLocalTable.h"
#include "app/CMainFrame.h"
#include "base/CGbkConverter.h"
#include "link/qt/SocketControl.h"
#include "ports/qt/CQtEventLoop.h"
#include "social/CBaseChatView.h"
#include "social/CBaseGameinfoView.h"
#include "table/CMainViewClock.h"
#include "table/CMainViewClockSink.h"
#include "table/CTableBoard.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <cstdio>

namespace kelo {

namespace {
void Say(const char* what, const std::string& text) {
    std::printf("%s: %s\n", what, text.c_str());
    std::fflush(stdout);
}
} // namespace

CTableHost::CTableHost(CGameContext& context) : m_context(context) {}

CTableHost::~CTableHost() {
    // The windows leave the registry before the link that holds it goes.
    if (m_pFrame != nullptr) {
        CTableLink& link = m_pFrame->Link();
        link.UnregisterSink(m_pPeople.get());
        link.UnregisterSink(m_pChat.get());
        link.UnregisterSink(m_pClockSink.get());
        link.UnregisterSink(&m_context.TableBoard());
        m_context.TableBoard().SetHandOn(nullptr);
    }
}

void CTableHost::OpenLocalTable(const std::string& recordPath) {
    CLocalTable::Prepare(m_context);
    Say("local table", recordPath.empty() ? "without a record" : recordPath);
    ShowWindow();
    if (recordPath.empty())
        return;
    // Records cannot be read yet, so no record has moves to continue.
    m_context.Prompts().ShowNotice(CLocalTable::NO_RECORD);
}

void CTableHost::ShowWindow() {
    if (m_pFrame == nullptr) {
        m_pLoop = std::make_unique<CQtEventLoop>();
        m_pSocket = std::make_unique<SocketControl>();
        m_pFrame = std::make_unique<CMainFrame>(m_context, *m_pLoop, *m_pSocket, *this);
        m_pClock = std::make_unique<CMainViewClock>(m_context.Table(), *m_pLoop);
        m_pClockSink = std::make_unique<CMainViewClockSink>(m_context.Table(), *m_pClock);
        m_pChat =
            std::make_unique<CBaseChatView>(m_context.PlayerManager(), m_context.State(), *this);
        m_pPeople =
            std::make_unique<CBaseGameinfoView>(m_context.PlayerManager(), m_context.State());
        CTableLink& link = m_pFrame->Link();
        link.RegisterSink(&m_context.TableBoard());
        link.RegisterSink(m_pClockSink.get());
        // The chat reads a departing person's name before the list forgets the person.
        link.RegisterSink(m_pChat.get());
        link.RegisterSink(m_pPeople.get());
        m_context.TableBoard().SetHandOn(&link.Registry());
        Say("window", "shown");
    } else {
        Say("window", "shown again");
    }
    m_pFrame->Connect();
}

void CTableHost::ShowAdvMessage(const std::string&, const std::string& link,
                                const std::string& text) {
    Say("chat", CGbkConverter::ToUtf8(text) + " <" + CGbkConverter::ToUtf8(link) + ">");
}

void CTableHost::ShowInstantMessage(const std::string& text) {
    Say("chat", CGbkConverter::ToUtf8(text));
}

void CTableHost::AddSystemLine(const std::string& text, uint32_t) {
    Say("chat", text);
}

void CTableHost::CloseWindow() {
    // The frame decided; the close itself runs from the event loop, as a posted close would.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [this] {
            if (m_pFrame == nullptr || m_pFrame->OnClose()) {
                Say("window", "closed");
                QCoreApplication::quit();
            }
        },
        Qt::QueuedConnection);
}

void CTableHost::SaveGame(int mode) {
    Say("save", std::to_string(mode));
}

void CTableHost::OpenExitDialog(bool requestMode, uint16_t seat, const std::string& text) {
    Say("exit dialog", std::string(requestMode ? "request" : "answer") + " seat " +
                           std::to_string(seat) + " " + text);
}

} // namespace kelo
