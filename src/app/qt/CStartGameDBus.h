// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/IStartGameHost.h"
#include "app/StartGame.h"

#include <QByteArray>
#include <QDBusContext>
#include <QObject>
#include <QString>

namespace kelo {

class CGameContext;

// The hall interface on the session bus: a thin facade that turns the bus's types into the
// hall's records (texts to GBK, the person as its raw record) and hands every call to
// StartGame. The adaptor generated from the interface's XML calls these slots; every call
// names its caller (the hall's connection) through Called.
class CStartGameDBus : public QObject, protected QDBusContext {
    Q_OBJECT
public:
    static constexpr const char* SERVICE = "com.zandor.KeloChessGame";
    static constexpr const char* PATH = "/StartGame";

    CStartGameDBus(CGameContext& context, IStartGameHost* host, QObject* parent = nullptr);
    // Puts the object and the service name on the session bus; false (with the reason in
    // error) when the bus cannot be reached or the name is taken.
    bool Register(QString* error);

public slots:
    int ShowWindow();
    int AddPerson(const QByteArray& per);
    int SetMe(const QString& str);
    int SetSeatNum(short num);
    int SetGameSockIp(const QString& ipstr, short port);
    int SetChatSockIp(const QString& ipstr, short port);
    int AddRoomInfo(short deskno, short levelnum, short levels);
    int SetWatchStyle(short iswatch);
    int SetFontFactor(const QString& fontstr, int fontcharset);
    int SetSubType(short servicetype, short gametype, short subtype, short termtype);
    int SetAdvUrl(const QString& gameadv, const QString& tableadv);
    int SetProxyStyle(short isuseproxy, short issock4, short ispasswd);
    int SetProxy(const QString& ipstr, short port, const QString& username, const QString& passwd);
    int SetListHead(const QByteArray& listhead, short size);
    int SetComInfo(const QString& cominfo);
    int SetReviewFileName(const QString& filename);
    int SetDoubleStyle(short isdouble);
    int SetDllFileName(const QString& filename);
    int SetCurrentDirectory(const QString& filename);
    int Join_Team(const QString& username, int joined_id);
    int SetAdvMessage(const QByteArray& chatinfo, short size, const QString& linkstr,
                      const QString& chatstr);
    int SetLevel(int score_per_level);
    int AddLevelInfo(const QString& info);
    int AddRoomInfo1(short deskno, short sendtime, short roomid);
    int SetMyID(int id);
    int ShowInstantMessage(int fromid, int toid, const QString& message, short size);
    int SetPageUrl(const QString& pageurl, const QString& helpurl);

signals:
    void AgreeOrNot(short roomno, short isagree, int joined_id);
    // A method was called by the bus connection of this unique name.
    void Called(const QString& caller);

private:
    void NoteCall();

    // Turns the core's event into the bus signal.
    class EventRelay : public IStartGameEvents {
    public:
        explicit EventRelay(CStartGameDBus& owner) : m_owner(owner) {}
        void AgreeOrNot(int16_t roomno, int16_t isagree, int32_t joinedId) override {
            emit m_owner.AgreeOrNot(roomno, isagree, joinedId);
        }

    private:
        CStartGameDBus& m_owner;
    };

    EventRelay m_relay{*this};
    StartGame m_startGame;
};

} // namespace kelo
