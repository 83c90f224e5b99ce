// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TableTypes.h"

#include <cstdint>

namespace kelo {

class CPlayerManager;
class CPlayerTimeControl;
class CTableState;
struct MSG_START_INFO_BODY;

// The first seat gets the first colour, each following seat the next one; a watcher takes the
// colour of the seat it watches behind, so that its own colour says whose moves it follows.
void AssignSeatColours(CPlayerManager& people, uint16_t firstSeat, Colour firstColour);

// The settings of the table's start information (606, 662): take-back limits, first seat,
// colours and clock settings.
void ApplyStartInfo(const MSG_START_INFO_BODY& info, CTableState& state, CPlayerManager& people,
                    CPlayerTimeControl& time);

} // namespace kelo
