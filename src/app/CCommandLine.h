// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/PracticeChoice.h"

#include <string>
#include <vector>

namespace kelo {

// What the program was started to do, read from its arguments (the program's name left out).
// The hall's and the desktop's switches begin with "-" or "/" and are compared without regard to
// case. The user's own options are written as usual on this platform, "--practice", "--level 4"
// or "--level=4"; a word that is none of them, "--" or not, is part of the path of a game record.
class CCommandLine {
public:
    enum class Action {
        // Write the activation file, the desktop entry and the MIME type, then end.
        Register,
        // Remove them, then end.
        Unregister,
        // Started by the hall over the bus ("Embedding" or "Automation"): wait for its calls.
        Embedding,
        // Started by the user: a local table, with the record of m_strRecordPath if any (also
        // "--local").
        Direct,
        // "--practice": a game against the computer, with m_practice.
        Practice,
        // "--help": the usage, then end.
        Help,
        // A bad option: m_strError says why, and the start ends.
        Error,
    };

    static constexpr const char* USAGE =
        "usage: kelo-chess [--local] [RECORD.che]\n"
        "       kelo-chess --practice [--level 1-8] [--colour white|black|random]\n"
        "                  [--time TOTAL,PACE,ADD] [--engine COMMAND]\n"
        "       kelo-chess -RegServer | -UnregServer | -Embedding\n"
        "\n"
        "  --local        the local table, one person playing both sides (the default)\n"
        "  --practice     a game against the computer: a chess engine played by kelo-bot at a\n"
        "                 table of the reference server; what is not given is asked\n"
        "  --level N      the computer's level, 1 (beginner) to 8 (full strength)\n"
        "  --colour C     the colour to play: white, black or random\n"
        "  --time T,P,A   the clocks in seconds: each side's total, the time of a move, the\n"
        "                 time added per move (e.g. 1200,60,10)\n"
        "  --engine CMD   the UCI engine (else the settings' enginecommand, else stockfish)\n";

    static CCommandLine Parse(const std::vector<std::string>& args);

    // A path may arrive in quotes: a character outside "A".."z" at either end is dropped as
    // one, except those that a path here begins with ("/", ".", "~") or that a file name ends
    // with (digits, "_", "-").
    static std::string StripQuotes(const std::string& text);

    Action m_action = Action::Direct;
    // Empty for a start without a record.
    std::string m_strRecordPath;
    // What "--practice" and its options ask for; the options imply "--practice".
    PracticeRequest m_practice;
    // Why the command line is refused (Action::Error), one line.
    std::string m_strError;
};

} // namespace kelo
