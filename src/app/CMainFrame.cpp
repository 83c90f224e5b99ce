// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CMainFrame.h"

#include "app/CGameContext.h"
#include "app/CHallSettings.h"
#include "app/IMainFrameHost.h"
#include "base/CGbkConverter.h"
#include "link/CCommunicationLayer.h"
#include "link/MSG_ENTER_TABLE.h"
#include "link/MSG_EXIT_DISCOURAGE.h"
#include "link/MSG_EXIT_REQUEST.h"
#include "link/MSG_LEAVE_TABLE.h"
#include "link/MSG_LEAVE_WATCH.h"
#include "link/MSG_USER_CONNECT.h"
#include "link/MSG_USER_STATUS.h"
#include "link/MessageTypes.h"
#include "ports/IEventLoop.h"
#include "ports/IPrompts.h"
#include "ports/ISocketControl.h"
#include "table/CPlayerManager.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace kelo {

namespace {

// A name of the hall's record for the screen.
template <size_t N> std::string Name(const char (&field)[N]) {
    return CGbkConverter::ToUtf8(CGbkConverter::FromField(field));
}

std::string Format(const char* pattern, const std::string& name) {
    char text[256];
    std::snprintf(text, sizeof(text), pattern, name.c_str());
    return text;
}

const char* LeaveText(uint16_t reason) {
    switch (reason) {
    case 1:
        return "用户“%s”强行退出,游戏结束!";
    case 2:
        return "用户“%s”断线无法重连,游戏结束!";
    case 4:
        return "用户“%s”金币值太低,不能进行下一局，游戏结束!";
    case 5:
        return "用户“%s”关数太低,不能进行下一局，游戏结束!";
    case 6:
        return "本局游戏被解散，游戏结束!";
    default:
        return "游戏结束！";
    }
}

} // namespace

CMainFrame::CMainFrame(CGameContext& context, IEventLoop& loop, ISocketControl& socket,
                       IMainFrameHost& host, uint16_t giveUpAfter)
    : m_context(context), m_loop(loop), m_socket(socket), m_host(host), m_nGiveUpAfter(giveUpAfter),
      m_link(context.CommunicationLayer(), context.Prompts(), loop, socket) {
    m_link.SetObserver(this);
}

CMainFrame::~CMainFrame() {
    m_link.SetObserver(nullptr);
}

void CMainFrame::Connect() {
    if (m_context.Mode().LocalMode())
        return;
    m_socket.CloseSocket();
    const CHallSettings& hall = m_context.Hall();
    // The hall hands both ports over as signed 16-bit values, widened with their sign; a port
    // above 32767 comes out negative, so only its low 16 bits are meant.
    const auto proxyPort = static_cast<uint16_t>(hall.proxyPort);
    if (hall.useProxy != 0) {
        const int16_t kind = hall.proxySelector == 0   ? 1
                             : hall.proxySelector == 1 ? (hall.proxyWithPassword ? 3 : 2)
                                                       : 4;
        if (kind == 1 || (kind == 4 && hall.proxyWithPassword == 0))
            m_socket.UseProxy(kind, hall.proxyHost, proxyPort);
        else if (kind == 2)
            m_socket.UseProxyAuth(kind, hall.proxyHost, proxyPort, "", "");
        else
            m_socket.UseProxyAuth(kind, hall.proxyHost, proxyPort, hall.proxyUser,
                                  hall.proxyPassword);
    }
    m_socket.Connect(hall.gameServerHost, static_cast<uint16_t>(hall.gameServerPort));
}

void CMainFrame::CloseTable(TableClose why) {
    m_bClosing = true;
    m_host.CloseWindow(why);
}

void CMainFrame::ResetLink() {
    m_context.CommunicationLayer().ResetSequence();
    m_context.State().MarkOpponentBack();
    m_nLinkDown = 1;
}

void CMainFrame::OnConnect(int16_t result) {
    // A table that is closing connects no more.
    if (m_bClosing)
        return;
    if (result == 1) {
        // The connection counts as good, and the attempts start again, only once the server
        // has answered the entry (3106): a server that takes connections and drops them must not
        // keep the outage going forever.
        m_nLinkDown = 0;
        SendEnterTable();
        // The link asks for the first header once this returns.
        m_loop.SetTimer(&m_link, ENTER_TIMER, ENTER_PERIOD_MS);
    } else if (result == 0) {
        if (m_nGiveUpAfter == 0) {
            OnReceiveTimeout();
            return;
        }
        ResetLink();
        m_loop.SetTimer(&m_link, CTableLink::RECEIVE_TIMER, RETRY_PERIOD_MS);
        TellOutage(CONNECT_FAILED_LINE);
    }
}

void CMainFrame::TellOutage(const char* line) {
    if (m_bOutageTold)
        return;
    m_bOutageTold = true;
    m_host.AddSystemLine(line, CHAT_SYSTEM_COLOUR);
}

void CMainFrame::OnServerAnswered() {
    m_loop.KillTimer(&m_link, ENTER_TIMER);
    m_nRetryCount = 0;
    m_bOutageTold = false;
}

void CMainFrame::SendEnterTable() {
    MSG_ENTER_TABLE_BODY enter;
    if (!MakeEnterTable(m_context.PlayerManager(), m_context.Hall(), enter)) {
        // Without the own record there is no watch number and no seat to enter with: the
        // server would take the entry for somebody else's. Tell the user and enter nothing.
        m_context.Prompts().ShowNotice("无法获得用户号！");
        return;
    }
    m_context.CommunicationLayer().Send(MSG_ENTER_TABLE, enter);
}

bool CMainFrame::MakeEnterTable(const CPlayerManager& people, const CHallSettings& hall,
                                MSG_ENTER_TABLE_BODY& enter) {
    const CPlayerRecord* own = people.GetOwnRecord();
    if (own == nullptr)
        return false;
    enter.id = own->person.id;
    enter.deskno = hall.deskNo;
    enter.seatno = people.GetOwnSeat();
    enter.watchno = static_cast<uint16_t>(own->person.watchno);
    enter.servicetype = hall.serviceType;
    enter.gametype = hall.gameType;
    enter.subtype = hall.subType;
    return true;
}

void CMainFrame::OnTimer(uint32_t id) {
    if (m_bClosing && (id == CTableLink::RECEIVE_TIMER || id == ENTER_TIMER))
        m_loop.KillTimer(&m_link, id);
    else if (id == CTableLink::RECEIVE_TIMER)
        OnReceiveTimeout();
    else if (id == ENTER_TIMER)
        OnEnterTimeout();
    else
        m_loop.KillTimer(&m_link, id);
}

void CMainFrame::OnConnectionLost() {
    OnConnectionClosed(true);
}

void CMainFrame::OnConnectionClosed(bool /*heard*/) {
    if (m_bClosing)
        return;
    if (m_nGiveUpAfter == 0) {
        OnReceiveTimeout();
        return;
    }
    // The link is down at once, and the user told so; the next attempt comes after the pause of
    // a failed one, whatever the server said before it closed, so that a server that takes
    // connections and drops them is not asked in a tight loop.
    m_loop.KillTimer(&m_link, ENTER_TIMER);
    ResetLink();
    m_loop.SetTimer(&m_link, CTableLink::RECEIVE_TIMER, RETRY_PERIOD_MS);
    TellOutage(RECONNECTING_LINE);
}

void CMainFrame::OnReceiveTimeout() {
    m_loop.KillTimer(&m_link, CTableLink::RECEIVE_TIMER);
    ++m_nRetryCount;
    m_socket.CloseSocket();
    ResetLink();
    if (m_nGiveUpAfter > 0) {
        Connect();
        TellOutage(RECONNECTING_LINE);
    }
    if (m_nRetryCount < m_nGiveUpAfter)
        return;
    m_nRetryCount = 0;
    GiveUp(true);
}

void CMainFrame::GiveUp(bool askToSave) {
    // Decided: what the link does while the question is open changes nothing any more.
    m_bClosing = true;
    m_bOutageTold = false;
    m_context.State().End(GameEnd::ServerLost);
    m_loop.KillTimer(&m_link, CTableLink::RECEIVE_TIMER);
    if (!askToSave)
        m_context.Prompts().ShowNotice("不能连接服务器，游戏结束");
    else if (m_context.Prompts().Verify("不能连接服务器，游戏结束，您要保存棋局么？", "保存",
                                        "放弃"))
        m_host.SaveGame(2);
    CloseTable(TableClose::ServerLost);
}

void CMainFrame::OnEnterTimeout() {
    ++m_nRetryCount;
    m_socket.CloseSocket();
    m_nLinkDown = 1;
    if (m_nGiveUpAfter > 0)
        Connect();
    m_loop.KillTimer(&m_link, ENTER_TIMER);
    if (m_nRetryCount < m_nGiveUpAfter)
        return;
    m_nRetryCount = 0;
    GiveUp(false);
}

void CMainFrame::SaveIfPlaying() {
    // A game closing with the table is still under way; an ended one has been given up.
    const GameState state = m_context.State().State();
    if (state == GameState::Playing || state == GameState::Closing)
        m_host.SaveGame(1);
}

bool CMainFrame::OnConnectionMessage(uint16_t type, const uint8_t* body, uint32_t length) {
    switch (type) {
    case MSG_USER_STATUS:
        return OnUserStatus(body, length);
    case MSG_USER_CONNECT:
        return OnUserConnect(body, length);
    case MSG_LOGIN_ELSEWHERE:
        m_bClosing = true;
        m_context.State().Close();
        m_context.Prompts().ShowNotice("你的账号已经在别处登陆了,关闭游戏");
        CloseTable(TableClose::LoggedInElsewhere);
        return false;
    case MSG_LEAVE_TABLE:
        return OnLeaveTable(body, length);
    case MSG_LEAVE_WATCH:
        return OnLeaveWatch(body, length);
    case MSG_EXIT_REQUEST:
        OnExitRequest(body, length);
        return true;
    case MSG_EXIT_DISCOURAGE:
        OnExitDiscourage(body, length);
        return true;
    case MSG_TABLE_PERSONS:
        OnServerAnswered();
        return true;
    default:
        return true;
    }
}

// A body too short for its fields is handed on untouched: nothing in it can be trusted.
bool CMainFrame::OnUserStatus(const uint8_t* body, uint32_t length) {
    const CPlayerManager& people = m_context.PlayerManager();
    if (people.GetOwnRecord() == nullptr) {
        CloseTable();
        return false;
    }
    MSG_USER_STATUS_BODY user;
    if (!MSG_USER_STATUS_BODY::FromWire(body, length, user))
        return true;
    if (user.id == people.OwnId()) {
        if (user.status == 1 || user.status == 2) {
            CloseTable();
            return false;
        }
        m_context.Mode().SetRole((user.role == 1 || user.role == 2) ? TableRole::Player
                                                                    : TableRole::Watcher);
    }
    return true;
}

bool CMainFrame::OnUserConnect(const uint8_t* body, uint32_t length) {
    m_loop.KillTimer(&m_link, ENTER_TIMER);
    // Result 0 closes the table whatever follows it; the user is named only when the body
    // reaches the id.
    MSG_USER_CONNECT_BODY connect;
    if (!wire::DecodeThrough<&MSG_USER_CONNECT_BODY::result>(body, length, connect) ||
        connect.result != 0)
        return true;
    const CPlayerRecord* person = length >= MSG_USER_CONNECT_BODY::SIZE
                                      ? m_context.PlayerManager().GetPersonById(connect.id)
                                      : nullptr;
    m_bClosing = true;
    // A notice in the question box of the table; either button closes the table alike.
    if (person != nullptr)
        m_context.Prompts().Verify(
            Format("用户\"%s\"连接失败，游戏结束！", Name(person->person.nickname)), "确定",
            "取消");
    CloseTable();
    return false;
}

bool CMainFrame::OnLeaveTable(const uint8_t* body, uint32_t length) {
    m_loop.KillTimer(&m_link, CCommunicationLayer::KEEP_ALIVE_TIMER);
    m_loop.KillTimer(&m_link, ENTER_TIMER);
    m_loop.KillTimer(&m_link, CTableLink::RECEIVE_TIMER);
    // The server ends the table and drops the connection: nothing is reconnected while the
    // notice is open.
    m_bClosing = true;
    MSG_LEAVE_TABLE_BODY leave;
    if (MSG_LEAVE_TABLE_BODY::FromWire(body, length, leave)) {
        // The information dialog closes itself after its countdown, so that the save and the
        // close never wait for a user who has walked away.
        if (const CPlayerRecord* person = m_context.PlayerManager().GetPersonById(leave.id))
            m_context.Prompts().ShowInformation(
                Format(LeaveText(leave.reason), Name(person->person.username)), true);
    }
    SaveIfPlaying();
    m_context.State().Close();
    CloseTable();
    return false;
}

bool CMainFrame::OnLeaveWatch(const uint8_t* body, uint32_t length) {
    MSG_LEAVE_WATCH_BODY leave;
    if (wire::DecodeThrough<&MSG_LEAVE_WATCH_BODY::id>(body, length, leave) &&
        leave.id == m_context.PlayerManager().OwnId()) {
        SaveIfPlaying();
        CloseTable();
    }
    return true;
}

void CMainFrame::OnExitRequest(const uint8_t* body, uint32_t length) {
    MSG_EXIT_REQUEST_BODY request;
    if (!wire::DecodeThrough<&MSG_EXIT_REQUEST_BODY::seatno>(body, length, request))
        return;
    // Only the player who was asked answers; a watcher behind either seat is not asked.
    if (m_context.Mode().Role() == TableRole::Player &&
        request.seatno != m_context.PlayerManager().GetOwnSeat())
        m_host.OpenExitDialog(false, request.seatno, "对方请求退出，你同意么？");
}

void CMainFrame::OnExitDiscourage(const uint8_t* body, uint32_t length) {
    MSG_EXIT_DISCOURAGE_BODY discourage;
    if (!MSG_EXIT_DISCOURAGE_BODY::FromWire(body, length, discourage))
        return;
    const CPlayerManager& people = m_context.PlayerManager();
    if (discourage.id == people.OwnId())
        m_context.Prompts().ShowInformation(
            people.IsPresent(discourage.id) ? "请不要中途退出，玩完这把好吧？" : "", true);
}

bool CMainFrame::OnClose() {
    if (m_bClosing)
        return true;
    if (m_context.State().OpponentDisconnected()) {
        if (!m_context.Prompts().AskOkCancel("对方断线了，您确定不再等待一会了么？"))
            return false;
        SendLeaveTable();
        return true;
    }
    if (m_context.Mode().IsWatcher()) {
        SendLeaveWatch();
        return true;
    }
    // Nobody else holds a local game: closing ends it for good, so the user is asked, and the
    // game is offered for saving as at its end.
    if (m_context.State().IsPlaying() && m_context.Mode().LocalMode()) {
        if (!m_context.Prompts().Verify(LOCAL_CLOSE_QUESTION, "确定", "取消"))
            return false;
        m_host.SaveGame(1);
        SendLeaveTable();
        return true;
    }
    if (m_context.State().IsPlaying() && m_nLinkDown == 0 && !m_context.Mode().LocalMode()) {
        m_host.OpenExitDialog(true, m_context.PlayerManager().GetOwnSeat(), "");
        return false;
    }
    SendLeaveTable();
    return true;
}

void CMainFrame::SendLeaveTable() {
    MSG_LEAVE_TABLE_BODY leave;
    leave.seatno = m_context.PlayerManager().GetOwnSeat();
    const auto body = leave.ToWire();
    m_context.CommunicationLayer().SendMessage(MSG_LEAVE_TABLE, body.data(), body.size());
}

void CMainFrame::SendLeaveWatch() {
    const CPlayerManager& people = m_context.PlayerManager();
    const CPlayerRecord* own = people.GetOwnRecord();
    MSG_LEAVE_WATCH_BODY leave; // seat and watch number 0xFFFF while the own record is unknown
    leave.id = people.OwnId();
    if (own != nullptr) {
        leave.seatno = static_cast<uint16_t>(own->person.seatno);
        leave.watchno = static_cast<uint16_t>(own->person.watchno);
    }
    const auto body = leave.ToWire();
    m_context.CommunicationLayer().SendMessage(MSG_LEAVE_WATCH, body.data(), body.size());
}

} // namespace kelo
