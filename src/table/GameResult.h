#pragma once

#include <cstdint>

namespace kelo {

class CPlayerManager;
class IMessageSender;

// Sends a game result with the own seat as sender.
void SendGameResult(IMessageSender& sender, const CPlayerManager& people, uint16_t decisive,
                    uint16_t winnerSeat, uint16_t reason);

} // namespace kelo
