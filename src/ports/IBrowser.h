// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kelo {

// The desktop's browser: shows a web address or a page of the program's own
// ("file:///..."). False when nothing could show it.
class IBrowser {
public:
    virtual ~IBrowser() = default;
    virtual bool Open(const std::string& address) = 0;
};

} // namespace kelo
