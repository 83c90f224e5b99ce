#pragma once

#include <cstdint>
#include <string>

namespace kelo {

class CPlayerManager;
class IMessageSender;

// Sends a game result with the own seat as sender.
void SendGameResult(IMessageSender& sender, const CPlayerManager& people, uint16_t decisive,
                    uint16_t winnerSeat, uint16_t reason);

// The line that tells a result: the winner's mate, a draw rule's fixed line, or the loser's
// time-out or resignation. Names are nickname[user name]; a seat without a player gives no
// name-bearing line. A result without a winner and any reason the table does not know give
// nothing but the winner's line.
std::string ResultLine(const CPlayerManager& people, int16_t winnerSeat, int16_t loserSeat,
                       int16_t reason);

} // namespace kelo
