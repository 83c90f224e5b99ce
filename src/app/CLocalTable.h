// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace kelo {

class CGameContext;

// The table that a direct start opens: no server, one user playing both sides, with the two
// players the program always uses for it.
class CLocalTable {
public:
    static constexpr int32_t FIRST_PLAYER_ID = 50001336;
    static constexpr int32_t SECOND_PLAYER_ID = 1001;
    static constexpr uint16_t GAME_TYPE = 107;
    // The page a local table advertises.
    static constexpr const char* ADV_PAGE = "https://kelo-chess.example.org/table/local.html";
    // What the user is told when a record given on the command line cannot be continued.
    static constexpr const char* NO_RECORD = "不存在走子纪录，不能续盘！";

    // Local mode, the game type, the advertisement page, the two players (the user is the
    // first), the list head, two seats and the table's times (1200 s, 60 s a move, 10 s added).
    static void Prepare(CGameContext& context);
    // Once the settings are read: a hall that named no style library leaves the settings' one.
    static void TakeStyleLibrary(CGameContext& context);
};

} // namespace kelo
