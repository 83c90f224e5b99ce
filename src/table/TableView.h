// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelo {

class CPlayerManager;
class CPlayerTimeControl;
class CTableMode;
class CTableState;

// What a window of the table reads and never changes: the people, the clock settings, the
// game's state and how this client takes part.
struct TableView {
    const CPlayerManager& people;
    const CPlayerTimeControl& time;
    const CTableState& state;
    const CTableMode& mode;
};

} // namespace kelo
