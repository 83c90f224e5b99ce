#include "link/GameResult.h"

#include "app/CGameContext.h"
#include "link/IMessageSender.h"
#include "link/MSG_GAME_RESULT.h"
#include "table/CPlayerManager.h"

namespace kelo {

void SendGameResult(CGameContext& context, uint16_t decisive, uint16_t winnerSeat,
                    uint16_t reason) {
    IMessageSender* sender = context.Sender();
    if (sender == nullptr)
        return;
    MSG_GAME_RESULT_BODY body;
    body.senderSeat = context.PlayerManager().GetOwnSeat();
    body.decisive = decisive;
    body.winnerSeat = winnerSeat;
    body.reason = reason;
    const auto bytes = body.ToWire();
    sender->SendMessage(MSG_GAME_RESULT, bytes.data(), bytes.size());
}

} // namespace kelo
