// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "social/IChatSink.h"

#include <cstdint>
#include <string>

namespace kelo {

// Why the main frame closes its table.
enum class TableClose {
    // The table ended: the user or the server closed it, or the entry was refused.
    Closed,
    // The user's account logged in elsewhere (3004).
    LoggedInElsewhere,
    // The game server could not be reached again.
    ServerLost,
};

// What the connection logic of the main frame asks of the table window around it.
class IMainFrameHost : public IChatSink {
public:
    // Closes the table window (the frame has already decided and told the user; no question is
    // asked). A window closes alike for every reason; a tool may exit with a status by it.
    virtual void CloseWindow(TableClose why) = 0;
    // Saves the game under way: mode 1 as the end-of-game setting says, mode 2 through the
    // save-file dialog.
    virtual void SaveGame(int mode) = 0;
    // The exit dialog: in request mode the user asks the opponent to let them leave; in answer
    // mode (modeless) the user answers the opponent's request from the given seat.
    virtual void OpenExitDialog(bool requestMode, uint16_t seat, const std::string& text) = 0;
};

} // namespace kelo
