// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/TableSettings.h"

#include "link/MSG_START_INFO.h"
#include "table/CPlayerManager.h"
#include "table/CPlayerTimeControl.h"
#include "table/CTableState.h"

#include <vector>

namespace kelo {

void AssignSeatColours(CPlayerManager& people, uint16_t firstSeat, Colour firstColour) {
    people.SetFirstMoverSeat(firstSeat);
    people.RenumberColours(firstColour);
    const int count = people.SeatCount();
    // Collected first: setting a colour must not disturb the walk over the watchers.
    std::vector<std::pair<uint32_t, Colour>> watchers;
    for (const auto& [key, record] : people.Watchers()) {
        const int16_t seat = record.person.seatno;
        Colour colour = Colour::None;
        if (const CPlayerRecord* player = people.GetPersonBySeat(seat))
            colour = player->colour;
        else if (count > 0 && seat >= 0 && seat < count)
            colour = ColourFromWire(
                static_cast<int16_t>(WireValue(firstColour) + (seat - firstSeat + count) % count));
        watchers.emplace_back(record.person.id, colour);
    }
    for (const auto& [id, colour] : watchers)
        people.SetColour(id, colour);
}

void ApplyStartInfo(const MSG_START_INFO_BODY& info, CTableState& state, CPlayerManager& people,
                    CPlayerTimeControl& time) {
    state.StartTakeBacks(static_cast<int16_t>(info.takeBackCount),
                         static_cast<int16_t>(info.maxTakeBacks));
    AssignSeatColours(people, info.firstSeat,
                      ColourFromWire(static_cast<int16_t>(info.firstColour)));
    time.m_nTotalTime = static_cast<int16_t>(info.totalTime);
    time.m_nPaceTime = static_cast<int16_t>(info.paceTime);
    time.m_nPaceAddedTime = static_cast<int16_t>(info.paceAddedTime);
}

} // namespace kelo
