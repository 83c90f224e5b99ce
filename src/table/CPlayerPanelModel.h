// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/TableTypes.h"
#include "table/TableView.h"

#include <string>

namespace kelo {

class CMainViewClock;
struct CPlayerRecord;

// What the player panels show: the opponent at the top, the user (or the player a watcher sits
// behind) at the bottom, with names, times, move counts, the turn sign, and the table's time
// settings. Texts are UTF-8.
class CPlayerPanelModel {
public:
    struct Slot {
        int16_t seat = -1;
        Colour colour = Colour::None;
        std::string nickname;
        std::string username;
        std::string totalLeft;
        std::string moveLeft;
        std::string moves;
        int16_t headPicture = -1;
        // This player is to move.
        bool toMove = false;
        // Its times are drawn in the highlight colour: it is to move in a game under way.
        bool hot = false;
        // The user's clock is running out: these times are drawn red.
        bool lowMove = false;
        bool lowTotal = false;
    };
    struct Settings {
        std::string total;
        std::string pace;
        std::string added;
    };

    CPlayerPanelModel(const TableView& table, const CMainViewClock& clock)
        : m_table(table), m_clock(clock) {}

    // False when a slot has no player: the panels are not drawn then.
    bool Visible() const;
    // index 0 the top slot, 1 the bottom one.
    Slot SlotAt(int index) const;
    Settings TableSettings() const;
    // Whether the bottom slot (the user's side) is to move: its clock area is the one to repaint.
    bool BottomToMove() const;

private:
    const CPlayerRecord* Player(int index) const;

    TableView m_table;
    const CMainViewClock& m_clock;
};

} // namespace kelo
