#include "table/GameResult.h"

#include "link/IMessageSender.h"
#include "link/MSG_GAME_RESULT.h"
#include "table/CPlayerManager.h"

namespace kelo {

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
