// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/CStartGameDBus.h"

#include "base/CGbkConverter.h"
#include "istartgame_adaptor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <cstring>

namespace kelo {

namespace {

// Bus texts are UTF-8; the hall's records keep GBK, cut to fit the area.
template <typename T> T ToArea(const QString& text) {
    T area{};
    CGbkConverter::ToField(area.str, CGbkConverter::ToGbk(text.toStdString()));
    return area;
}

GAMESTR Str(const QString& text) {
    return ToArea<GAMESTR>(text);
}
BIG_GAMESTR BigStr(const QString& text) {
    return ToArea<BIG_GAMESTR>(text);
}

BIG_GAMESTR BigBytes(const QByteArray& bytes) {
    BIG_GAMESTR area{};
    std::memcpy(area.str, bytes.constData(),
                std::min<size_t>(static_cast<size_t>(bytes.size()), sizeof(area.str)));
    return area;
}

} // namespace

CStartGameDBus::CStartGameDBus(CGameContext& context, IStartGameHost* host, QObject* parent)
    : QObject(parent), m_startGame(context, host) {
    new IStartGameAdaptor(this);
    m_startGame.SetEventSink(&m_relay);
}

void CStartGameDBus::NoteCall() {
    if (calledFromDBus())
        emit Called(message().service());
}

bool CStartGameDBus::Register(QString* error) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        if (error != nullptr)
            *error = bus.lastError().message();
        return false;
    }
    if (!bus.registerObject(PATH, this)) {
        if (error != nullptr)
            *error = QStringLiteral("the object path %1 is taken").arg(PATH);
        return false;
    }
    if (!bus.registerService(SERVICE)) {
        if (error != nullptr)
            *error = bus.lastError().message();
        return false;
    }
    return true;
}

int CStartGameDBus::ShowWindow() {
    NoteCall();
    return m_startGame.ShowWindow();
}

int CStartGameDBus::AddPerson(const QByteArray& per) {
    NoteCall();
    // A record of another size is not a person; ignore it as the interface ignores nulls.
    if (per.size() != static_cast<int>(sizeof(PERSON)))
        return StartGame::S_OK;
    PERSON person;
    std::memcpy(&person, per.constData(), sizeof(PERSON));
    return m_startGame.AddPerson(&person);
}

int CStartGameDBus::SetMe(const QString& str) {
    NoteCall();
    const GAMESTR s = Str(str);
    return m_startGame.SetMe(&s);
}

int CStartGameDBus::SetSeatNum(short num) {
    NoteCall();
    return m_startGame.SetSeatNum(num);
}

int CStartGameDBus::SetGameSockIp(const QString& ipstr, short port) {
    NoteCall();
    const GAMESTR s = Str(ipstr);
    return m_startGame.SetGameSockIp(&s, port);
}

int CStartGameDBus::SetChatSockIp(const QString& ipstr, short port) {
    NoteCall();
    const GAMESTR s = Str(ipstr);
    return m_startGame.SetChatSockIp(&s, port);
}

int CStartGameDBus::AddRoomInfo(short deskno, short levelnum, short levels) {
    NoteCall();
    const int16_t first = levels;
    return m_startGame.AddRoomInfo(deskno, levelnum, &first);
}

int CStartGameDBus::SetWatchStyle(short iswatch) {
    NoteCall();
    return m_startGame.SetWatchStyle(iswatch);
}

int CStartGameDBus::SetFontFactor(const QString& fontstr, int fontcharset) {
    NoteCall();
    const GAMESTR s = Str(fontstr);
    return m_startGame.SetFontFactor(&s, fontcharset);
}

int CStartGameDBus::SetSubType(short servicetype, short gametype, short subtype, short termtype) {
    NoteCall();
    return m_startGame.SetSubType(servicetype, gametype, subtype, termtype);
}

int CStartGameDBus::SetAdvUrl(const QString& gameadv, const QString& tableadv) {
    NoteCall();
    const GAMESTR a = Str(gameadv), b = Str(tableadv);
    return m_startGame.SetAdvUrl(&a, &b);
}

int CStartGameDBus::SetProxyStyle(short isuseproxy, short issock4, short ispasswd) {
    NoteCall();
    return m_startGame.SetProxyStyle(isuseproxy, issock4, ispasswd);
}

int CStartGameDBus::SetProxy(const QString& ipstr, short port, const QString& username,
                             const QString& passwd) {
    NoteCall();
    const GAMESTR host = Str(ipstr), user = Str(username), pass = Str(passwd);
    return m_startGame.SetProxy(&host, port, &user, &pass);
}

int CStartGameDBus::SetListHead(const QByteArray& listhead, short size) {
    NoteCall();
    const BIG_GAMESTR head = BigBytes(listhead);
    return m_startGame.SetListHead(&head, size);
}

int CStartGameDBus::SetComInfo(const QString& cominfo) {
    NoteCall();
    const GAMESTR s = Str(cominfo);
    return m_startGame.SetComInfo(&s);
}

int CStartGameDBus::SetReviewFileName(const QString& filename) {
    NoteCall();
    const GAMESTR s = Str(filename);
    return m_startGame.SetReviewFileName(&s);
}

int CStartGameDBus::SetDoubleStyle(short isdouble) {
    NoteCall();
    return m_startGame.SetDoubleStyle(isdouble);
}

int CStartGameDBus::SetDllFileName(const QString& filename) {
    NoteCall();
    const GAMESTR s = Str(filename);
    return m_startGame.SetDllFileName(&s);
}

int CStartGameDBus::SetCurrentDirectory(const QString& filename) {
    NoteCall();
    const GAMESTR s = Str(filename);
    return m_startGame.SetCurrentDirectory(&s);
}

int CStartGameDBus::Join_Team(const QString& username, int joined_id) {
    NoteCall();
    const GAMESTR s = Str(username);
    return m_startGame.Join_Team(&s, joined_id);
}

int CStartGameDBus::SetAdvMessage(const QByteArray& chatinfo, short size, const QString& linkstr,
                                  const QString& chatstr) {
    NoteCall();
    const BIG_GAMESTR info = BigBytes(chatinfo), chat = BigStr(chatstr);
    const GAMESTR link = Str(linkstr);
    return m_startGame.SetAdvMessage(&info, size, &link, &chat);
}

int CStartGameDBus::SetLevel(int score_per_level) {
    NoteCall();
    return m_startGame.SetLevel(score_per_level);
}

int CStartGameDBus::AddLevelInfo(const QString& info) {
    NoteCall();
    const GAMESTR s = Str(info);
    return m_startGame.AddLevelInfo(&s);
}

int CStartGameDBus::AddRoomInfo1(short deskno, short sendtime, short roomid) {
    NoteCall();
    return m_startGame.AddRoomInfo1(deskno, sendtime, roomid);
}

int CStartGameDBus::SetMyID(int id) {
    NoteCall();
    return m_startGame.SetMyID(id);
}

int CStartGameDBus::ShowInstantMessage(int fromid, int toid, const QString& message, short size) {
    NoteCall();
    const BIG_GAMESTR s = BigStr(message);
    return m_startGame.ShowInstantMessage(fromid, toid, &s, size);
}

int CStartGameDBus::SetPageUrl(const QString& pageurl, const QString& helpurl) {
    NoteCall();
    const GAMESTR a = Str(pageurl), b = Str(helpurl);
    return m_startGame.SetPageUrl(&a, &b);
}

} // namespace kelo
