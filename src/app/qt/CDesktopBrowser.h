// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ports/IBrowser.h"

namespace kelo {

// The user's browser, as the desktop chooses it for the address.
class CDesktopBrowser : public IBrowser {
public:
    bool Open(const std::string& address) override;

    // The one the windows share; it holds nothing.
    static CDesktopBrowser& Instance();
};

} // namespace kelo
