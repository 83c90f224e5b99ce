// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CPlayerPanelModel.h"

#include "base/CGbkConverter.h"
#include "table/CMainViewClock.h"
#include "table/CPlayerManager.h"
#include "table/CPlayerTimeControl.h"
#include "table/CTableState.h"

namespace kelo {

namespace {
template <size_t N> std::string FieldText(const char (&field)[N]) {
    return CGbkConverter::ToUtf8(CGbkConverter::FromField(field));
}
} // namespace

const CPlayerRecord* CPlayerPanelModel::Player(int index) const {
    const CPlayerManager& people = m_table.people;
    const uint16_t ownSeat = people.GetOwnSeat();
    if (index == 1)
        return ownSeat == CPlayerManager::NONE
                   ? nullptr
                   : people.GetPersonBySeat(static_cast<int16_t>(ownSeat));
    for (const auto& [seat, record] : people.Players())
        if (static_cast<uint16_t>(seat) != ownSeat)
            return &record;
    return nullptr;
}

bool CPlayerPanelModel::Visible() const {
    return Player(0) != nullptr && Player(1) != nullptr;
}

bool CPlayerPanelModel::BottomToMove() const {
    const CPlayerRecord* bottom = Player(1);
    return bottom != nullptr &&
           static_cast<uint16_t>(bottom->person.seatno) == m_table.people.GetCurrentTurnSeat();
}

CPlayerPanelModel::Slot CPlayerPanelModel::SlotAt(int index) const {
    Slot slot;
    const CPlayerRecord* player = Player(index);
    if (player == nullptr)
        return slot;
    const bool own = index == 1;
    slot.seat = player->person.seatno;
    slot.colour = player->colour;
    slot.nickname = FieldText(player->person.nickname);
    slot.username = FieldText(player->person.username);
    slot.headPicture = player->person.headpicid;
    slot.toMove = static_cast<uint16_t>(slot.seat) == m_table.people.GetCurrentTurnSeat();
    slot.hot = slot.toMove && m_table.state.IsPlaying();
    slot.totalLeft = CMainViewClock::FormatTime(m_clock.RemainingTotal(own));
    slot.moveLeft = CMainViewClock::FormatTime(m_clock.RemainingMove(own));
    slot.moves = CMainViewClock::FormatMoves(m_clock.MovesMade(own));
    slot.lowMove = m_clock.LowMoveTime(own);
    slot.lowTotal = m_clock.LowTotalTime(own);
    return slot;
}

CPlayerPanelModel::Settings CPlayerPanelModel::TableSettings() const {
    const CPlayerTimeControl& time = m_table.time;
    return {CMainViewClock::FormatTime(time.m_nTotalTime),
            CMainViewClock::FormatTime(time.m_nPaceTime), std::to_string(time.m_nPaceAddedTime)};
}

} // namespace kelo
