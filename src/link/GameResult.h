#pragma once

#include <cstdint>

namespace kelo {

class CGameContext;

// Sends a game result with the own seat as sender; dropped while nothing can be sent.
void SendGameResult(CGameContext& context, uint16_t decisive, uint16_t winnerSeat, uint16_t reason);

} // namespace kelo
