// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/TableView.h"

namespace kelo {

class IMessageSender;

// The parts of one table that the objects that play its game change: the people, the clock
// settings, the game's state (through its transitions) and where its messages go; how this
// client takes part is only read. Whoever builds the table client owns them and hands each
// object the parts it needs; nothing reaches them otherwise.
struct TableParts {
    CPlayerManager& people;
    CPlayerTimeControl& time;
    CTableState& state;
    const CTableMode& mode;
    IMessageSender& sender;

    operator TableView() const { return {people, time, state, mode}; }
};

} // namespace kelo
