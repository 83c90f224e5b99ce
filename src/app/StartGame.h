// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/GAMESTR.h"
#include "link/PERSON.h"

#include <cstdint>

namespace kelo {

class CGameContext;
class IStartGameEvents;
class IStartGameHost;

// The object through which the hall configures and drives the table client. Every method
// stores what it is given and answers success; null arguments are ignored.
class StartGame {
public:
    static constexpr int32_t S_OK = 0;

    StartGame(CGameContext& context, IStartGameHost* host);
    void SetEventSink(IStartGameEvents* events) { m_pEvents = events; }

    int32_t ShowWindow();
    int32_t AddPerson(const PERSON* per);
    int32_t SetMe(const GAMESTR* str);
    int32_t SetSeatNum(int16_t num);
    int32_t SetGameSockIp(const GAMESTR* ipstr, int16_t port);
    int32_t SetChatSockIp(const GAMESTR* ipstr, int16_t port);
    int32_t AddRoomInfo(int16_t deskno, int16_t levelnum, const int16_t* levels);
    int32_t SetWatchStyle(int16_t iswatch);
    int32_t SetFontFactor(const GAMESTR* fontstr, int32_t fontcharset);
    int32_t SetSubType(int16_t servicetype, int16_t gametype, int16_t subtype, int16_t termtype);
    int32_t SetAdvUrl(const GAMESTR* gameadv, const GAMESTR* tableadv);
    int32_t SetProxyStyle(int16_t isuseproxy, int16_t issock4, int16_t ispasswd);
    int32_t SetProxy(const GAMESTR* ipstr, int16_t port, const GAMESTR* username,
                     const GAMESTR* passwd);
    int32_t SetListHead(const BIG_GAMESTR* listhead, int16_t size);
    int32_t SetComInfo(const GAMESTR* cominfo);
    int32_t SetReviewFileName(const GAMESTR* filename);
    int32_t SetDoubleStyle(int16_t isdouble);
    int32_t SetDllFileName(const GAMESTR* filename);
    int32_t SetCurrentDirectory(const GAMESTR* filename);
    int32_t Join_Team(const GAMESTR* username, int32_t joined_id);
    int32_t SetAdvMessage(const BIG_GAMESTR* chatinfo, int16_t size, const GAMESTR* linkstr,
                          const BIG_GAMESTR* chatstr);
    int32_t SetLevel(int32_t score_per_level);
    int32_t AddLevelInfo(const GAMESTR* info);
    int32_t AddRoomInfo1(int16_t deskno, int16_t sendtime, int16_t roomid);
    int32_t SetMyID(int32_t id);
    int32_t ShowInstantMessage(int32_t fromid, int32_t toid, const BIG_GAMESTR* message,
                               int16_t size);
    int32_t SetPageUrl(const GAMESTR* pageurl, const GAMESTR* helpurl);

private:
    CGameContext& m_context;
    IStartGameHost* m_pHost;
    IStartGameEvents* m_pEvents = nullptr;
};

} // namespace kelo
