// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kelo {

// What the program was started to do, read from its arguments (the program's name left out).
// Options begin with "-" or "/" and are compared without regard to case; anything else is the
// path of a game record.
class CCommandLine {
public:
    enum class Action {
        // Write the activation file, the desktop entry and the MIME type, then end.
        Register,
        // Remove them, then end.
        Unregister,
        // Started by the hall over the bus ("Embedding" or "Automation"): wait for its calls.
        Embedding,
        // Started by the user: a local table, with the record of m_strRecordPath if any.
        Direct,
    };

    static CCommandLine Parse(const std::vector<std::string>& args);

    // A path may arrive in quotes: a character outside "A".."z" at either end is dropped as
    // one, except those that a path here begins with ("/", ".", "~") or that a file name ends
    // with (digits, "_", "-").
    static std::string StripQuotes(const std::string& text);

    Action m_action = Action::Direct;
    // Empty for a start without a record.
    std::string m_strRecordPath;
};

} // namespace kelo
