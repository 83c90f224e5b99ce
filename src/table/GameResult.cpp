// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/GameResult.h"

#include "base/CGbkConverter.h"
#include "link/IMessageSender.h"
#include "link/MSG_GAME_RESULT.h"
#include "table/CPlayerManager.h"

#include <cstdio>

namespace kelo {

namespace {
// "%s[%s]" filled with the nickname and the user name of the player at the seat; empty when
// nobody sits there.
std::string Named(const CPlayerManager& people, int16_t seat, const char* pattern) {
    const CPlayerRecord* player = people.GetPersonBySeat(seat);
    if (player == nullptr)
        return {};
    const std::string nickname =
        CGbkConverter::ToUtf8(CGbkConverter::FromField(player->person.nickname));
    const std::string username =
        CGbkConverter::ToUtf8(CGbkConverter::FromField(player->person.username));
    char line[256];
    std::snprintf(line, sizeof(line), pattern, nickname.c_str(), username.c_str());
    return line;
}
} // namespace

void SendGameResult(IMessageSender& sender, const CPlayerManager& people, uint16_t decisive,
                    uint16_t winnerSeat, uint16_t reason) {
    MSG_GAME_RESULT_BODY body;
    body.senderSeat = people.GetOwnSeat();
    body.decisive = decisive;
    body.winnerSeat = winnerSeat;
    body.reason = reason;
    const auto bytes = body.ToWire();
    sender.SendMessage(MSG_GAME_RESULT, bytes.data(), bytes.size());
}

} // namespace kelo

namespace kelo {

std::string ResultLine(const CPlayerManager& people, int16_t winnerSeat, int16_t loserSeat,
                       int16_t reason) {
    std::string line = Named(people, winnerSeat, "%s[%s]成功将杀！");
    switch (reason) {
    case 1:
        return "长将作和！";
    case 2:
        return "无子可动，逼和！";
    case 4:
        return "双方长不变判和！";
    case 5:
        return "双方连续60回合没有吃子，判和！";
    case 6:
        return "双方200回合没有确定胜负，判和！";
    case 7:
        return Named(people, loserSeat, "%s[%s]超时判输！");
    case 8:
        return Named(people, loserSeat, "%s[%s]中途认输！");
    default:
        return line;
    }
}

} // namespace kelo

namespace kelo {

ResultSeats SeatsOf(const CPlayerManager& people, const MSG_GAME_RESULT_BODY& result) {
    const auto winner = static_cast<int16_t>(result.winnerSeat);
    const bool seated = result.winnerSeat < people.SeatCount();
    return {winner, seated ? static_cast<int16_t>(people.SeatAfter(winner, true))
                           : static_cast<int16_t>(CPlayerManager::NONE)};
}

std::string EndingLine(const CPlayerManager& people, const MSG_GAME_RESULT_BODY& result) {
    const ResultSeats seats = SeatsOf(people, result);
    std::string line =
        ResultLine(people, seats.winner, seats.loser, static_cast<int16_t>(result.reason));
    if (line.empty())
        line = result.decisive == 0 ? "双方同意和棋！" : "游戏结束！";
    return "本局结束：" + line;
}

} // namespace kelo
