// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace kelo {

class CPlayerManager;
class IMessageSender;
struct MSG_GAME_RESULT_BODY;

// Sends a game result with the own seat as sender.
void SendGameResult(IMessageSender& sender, const CPlayerManager& people, uint16_t decisive,
                    uint16_t winnerSeat, uint16_t reason);

// The winner's and the loser's seat of a result: the loser is the seat after the winner's.
// Without a seated winner there is no loser either (CPlayerManager::NONE): a draw names nobody.
struct ResultSeats {
    int16_t winner;
    int16_t loser;
};
ResultSeats SeatsOf(const CPlayerManager& people, const MSG_GAME_RESULT_BODY& result);

// The line that tells a result: the winner's mate, a draw rule's fixed line, or the loser's
// time-out or resignation. Names are nickname[user name]; a seat without a player gives no
// name-bearing line. A result without a winner and any reason the table does not know give
// nothing but the winner's line.
std::string ResultLine(const CPlayerManager& people, int16_t winnerSeat, int16_t loserSeat,
                       int16_t reason);

// The line that names how a game ended, for everybody at the table: the result line of a
// result as it came, or, where that says nothing (a draw both players agreed to, a result for
// an empty seat), that the game ended in a draw or ended.
std::string EndingLine(const CPlayerManager& people, const MSG_GAME_RESULT_BODY& result);

} // namespace kelo
