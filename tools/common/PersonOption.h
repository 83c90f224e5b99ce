// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/PERSON.h"

#include <optional>
#include <string>

namespace kelo {

// The people of a table as the tools take them on their command line, turned into the person
// records the hall hands over:
//
//   --player  ID:USERNAME:NICKNAME:SEAT           a player seated at SEAT
//   --watcher ID:USERNAME:NICKNAME:WATCHNO[:SEAT] a watcher with the watcher number WATCHNO
//
// A watcher watches behind a seat: SEAT (0 when left out) says whose side it follows, and the
// table gives it the colour of that seat. A player has no watcher number (-1). Names are UTF-8
// and are stored in GBK; they must fit their fields.
class PersonOption {
public:
    enum class Role { Player, Watcher };

    static constexpr const char* PLAYER_FORM = "ID:USERNAME:NICKNAME:SEAT";
    static constexpr const char* WATCHER_FORM = "ID:USERNAME:NICKNAME:WATCHNO[:SEAT]";

    // The record for text, or nothing with a one-line reason in error. Seats run from 0 to
    // seatCount - 1.
    static std::optional<PERSON> Parse(const std::string& text, Role role, int seatCount,
                                       std::string& error);
};

} // namespace kelo
