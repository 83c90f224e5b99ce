// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/StartGame.h"

#include "app/CGameContext.h"
#include "app/CHallSettings.h"
#include "app/IStartGameHost.h"
#include "base/CGbkConverter.h"
#include "ports/IPrompts.h"
#include "table/CPlayerManager.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace kelo {

namespace {

template <size_t N> std::string Text(const char (&area)[N]) {
    return CGbkConverter::FromField(area);
}

// Copies a text into a fixed area of 100 bytes: at most 99 characters and a terminator.
void CopyFixed(std::array<char, CHallSettings::URL_SIZE>& to, const GAMESTR* from) {
    CGbkConverter::ToField(to.data(), to.size(), from != nullptr ? Text(from->str) : "");
}

} // namespace

StartGame::StartGame(CGameContext& context, IStartGameHost* host)
    : m_context(context), m_pHost(host) {}

int32_t StartGame::ShowWindow() {
    if (m_pHost != nullptr)
        m_pHost->ShowWindow();
    return S_OK;
}

int32_t StartGame::AddPerson(const PERSON* per) {
    if (per != nullptr)
        m_context.PlayerManager().AddPerson(*per);
    return S_OK;
}

int32_t StartGame::SetMe(const GAMESTR* str) {
    if (str == nullptr)
        return S_OK;
    const std::string name = Text(str->str);
    CPlayerManager& people = m_context.PlayerManager();
    auto matches = [&](const CPlayerRecord& record) {
        return Text(record.person.username) == name;
    };
    for (const auto& [seat, record] : people.Players()) {
        if (matches(record)) {
            people.SetOwnId(record.person.id);
            return S_OK;
        }
    }
    for (const auto& [key, record] : people.Watchers()) {
        if (matches(record)) {
            people.SetOwnId(record.person.id);
            return S_OK;
        }
    }
    return S_OK;
}

int32_t StartGame::SetSeatNum(int16_t num) {
    m_context.PlayerManager().SetSeatCount(static_cast<uint16_t>(num));
    return S_OK;
}

int32_t StartGame::SetGameSockIp(const GAMESTR* ipstr, int16_t port) {
    if (ipstr == nullptr)
        return S_OK;
    m_context.Hall().gameServerHost = Text(ipstr->str);
    // The port arrives as a signed 16-bit value and is widened with its sign.
    m_context.Hall().gameServerPort = static_cast<uint32_t>(static_cast<int32_t>(port));
    return S_OK;
}

int32_t StartGame::SetChatSockIp(const GAMESTR*, int16_t) {
    return S_OK;
}

int32_t StartGame::AddRoomInfo(int16_t deskno, int16_t, const int16_t* levels) {
    m_context.Hall().deskNo = static_cast<uint16_t>(deskno);
    if (levels != nullptr)
        m_context.Hall().roomId = static_cast<uint16_t>(*levels);
    return S_OK;
}

int32_t StartGame::SetWatchStyle(int16_t iswatch) {
    m_context.Mode().SetLocalMode(iswatch == 2);
    m_context.Mode().SetRole(iswatch == 1 ? TableRole::Watcher : TableRole::Player);
    return S_OK;
}

int32_t StartGame::SetFontFactor(const GAMESTR*, int32_t) {
    return S_OK;
}

int32_t StartGame::SetSubType(int16_t servicetype, int16_t gametype, int16_t subtype, int16_t) {
    CHallSettings& hall = m_context.Hall();
    hall.serviceType = static_cast<uint16_t>(servicetype);
    hall.gameType = static_cast<uint16_t>(gametype);
    hall.subType = static_cast<uint16_t>(subtype);
    return S_OK;
}

int32_t StartGame::SetAdvUrl(const GAMESTR* gameadv, const GAMESTR* tableadv) {
    CopyFixed(m_context.Hall().gameAdvUrl, gameadv);
    CopyFixed(m_context.Hall().tableAdvUrl, tableadv);
    return S_OK;
}

int32_t StartGame::SetProxyStyle(int16_t isuseproxy, int16_t issock4, int16_t ispasswd) {
    CHallSettings& hall = m_context.Hall();
    hall.useProxy = isuseproxy;
    hall.proxySelector = static_cast<uint16_t>(issock4);
    hall.proxyWithPassword = ispasswd;
    return S_OK;
}

int32_t StartGame::SetProxy(const GAMESTR* ipstr, int16_t port, const GAMESTR* username,
                            const GAMESTR* passwd) {
    CHallSettings& hall = m_context.Hall();
    if (ipstr != nullptr)
        hall.proxyHost = Text(ipstr->str);
    // As the game server's port: a signed 16-bit value, widened with its sign.
    hall.proxyPort = static_cast<int32_t>(port);
    if (username != nullptr && passwd != nullptr) {
        hall.proxyUser = Text(username->str);
        hall.proxyPassword = Text(passwd->str);
    }
    return S_OK;
}

int32_t StartGame::SetListHead(const BIG_GAMESTR* listhead, int16_t size) {
    if (listhead == nullptr || size < 0)
        return S_OK;
    CHallSettings& hall = m_context.Hall();
    // The hall may name more bytes than either area holds; copy what fits in both.
    const size_t count =
        std::min({static_cast<size_t>(size), sizeof(listhead->str), hall.listHead.size()});
    hall.listHead.fill(0);
    std::memcpy(hall.listHead.data(), listhead->str, count);
    hall.listHeadLength = count;
    return S_OK;
}

int32_t StartGame::SetComInfo(const GAMESTR* cominfo) {
    if (cominfo != nullptr)
        m_context.Hall().comInfo = Text(cominfo->str);
    return S_OK;
}

int32_t StartGame::SetReviewFileName(const GAMESTR* filename) {
    if (filename != nullptr)
        m_context.Hall().reviewFileName = Text(filename->str);
    return S_OK;
}

int32_t StartGame::SetDoubleStyle(int16_t isdouble) {
    m_context.Hall().doubleStyle = isdouble;
    return S_OK;
}

int32_t StartGame::SetDllFileName(const GAMESTR* filename) {
    if (filename != nullptr)
        m_context.Hall().dllFileName = Text(filename->str);
    return S_OK;
}

int32_t StartGame::SetCurrentDirectory(const GAMESTR* filename) {
    if (filename != nullptr)
        m_context.Hall().currentDirectory = Text(filename->str);
    return S_OK;
}

int32_t StartGame::Join_Team(const GAMESTR* username, int32_t joined_id) {
    if (username == nullptr)
        return S_OK;
    const std::string name = CGbkConverter::ToUtf8(Text(username->str));
    const std::string question = name + " 邀请你加入他的团队，你同意吗？";
    if (!m_context.Prompts().AskYesNo(question))
        return S_OK;
    if (m_pEvents != nullptr) {
        const auto roomno = static_cast<int16_t>(m_context.PlayerManager().OwnId() & 0xFFFF);
        m_pEvents->AgreeOrNot(roomno, 1, joined_id);
    }
    return S_OK;
}

int32_t StartGame::SetAdvMessage(const BIG_GAMESTR* chatinfo, int16_t, const GAMESTR* linkstr,
                                 const BIG_GAMESTR* chatstr) {
    if (m_pHost == nullptr || !m_pHost->HasMainWindow() || chatinfo == nullptr)
        return S_OK;
    const std::string header(chatinfo->str, 44);
    m_pHost->ShowAdvMessage(header, linkstr != nullptr ? Text(linkstr->str) : std::string(),
                            chatstr != nullptr ? Text(chatstr->str) : std::string());
    return S_OK;
}

int32_t StartGame::SetLevel(int32_t score_per_level) {
    m_context.Hall().scorePerLevel = static_cast<uint32_t>(score_per_level);
    return S_OK;
}

int32_t StartGame::AddLevelInfo(const GAMESTR* info) {
    if (info != nullptr)
        m_context.Hall().levelNames.push_back(Text(info->str));
    return S_OK;
}

int32_t StartGame::AddRoomInfo1(int16_t deskno, int16_t sendtime, int16_t roomid) {
    CHallSettings& hall = m_context.Hall();
    hall.deskNo = static_cast<uint16_t>(deskno);
    hall.roomId = static_cast<uint16_t>(roomid);
    hall.sendTime = static_cast<uint16_t>(sendtime);
    return S_OK;
}

int32_t StartGame::SetMyID(int32_t id) {
    m_context.PlayerManager().SetOwnId(static_cast<uint32_t>(id));
    return S_OK;
}

int32_t StartGame::ShowInstantMessage(int32_t, int32_t, const BIG_GAMESTR* message, int16_t) {
    if (m_pHost == nullptr || !m_pHost->HasMainWindow() || message == nullptr)
        return S_OK;
    m_pHost->ShowInstantMessage(CGbkConverter::CutGbk(Text(message->str), 199));
    return S_OK;
}

int32_t StartGame::SetPageUrl(const GAMESTR* pageurl, const GAMESTR* helpurl) {
    CopyFixed(m_context.Hall().pageUrl, pageurl);
    CopyFixed(m_context.Hall().helpUrl, helpurl);
    return S_OK;
}

} // namespace kelo
