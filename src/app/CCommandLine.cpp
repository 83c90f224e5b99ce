// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CCommandLine.h"

#include "app/CPracticeDialogModel.h"

#include <algorithm>
#include <cctype>

namespace kelo {

namespace {

bool SameWord(const std::string& a, const char* b) {
    const std::string word(b);
    return a.size() == word.size() &&
           std::equal(a.begin(), a.end(), word.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The option's word when the argument is one of ours ("-RegServer", "/embedding"...).
bool IsOption(const std::string& arg, const char* word) {
    return arg.size() > 1 && (arg[0] == '-' || arg[0] == '/') && SameWord(arg.substr(1), word);
}

bool OutsideLetters(char c) {
    return c < 'A' || c > 'z';
}

} // namespace

std::string CCommandLine::StripQuotes(const std::string& text) {
    std::string path = text;
    auto begins = [](char c) { return c == '/' || c == '.' || c == '~'; };
    auto ends = [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) || c == '_' || c == '-';
    };
    if (!path.empty() && OutsideLetters(path.front()) && !begins(path.front()) &&
        !ends(path.front()))
        path.erase(0, 1);
    if (!path.empty() && OutsideLetters(path.back()) && !ends(path.back()) && path.back() != '/')
        path.pop_back();
    return path;
}

CCommandLine CCommandLine::Parse(const std::vector<std::string>& args) {
    CCommandLine line;
    // Registering and removing end the start whatever else is given; the first one named counts.
    for (const std::string& a : args) {
        if (IsOption(a, "RegServer") || IsOption(a, "UnregServer")) {
            line.m_action = IsOption(a, "RegServer") ? Action::Register : Action::Unregister;
            return line;
        }
    }
    for (const std::string& a : args) {
        if (IsOption(a, "Embedding") || IsOption(a, "Automation")) {
            line.m_action = Action::Embedding;
            return line;
        }
    }
    bool practice = false;
    bool local = false;
    std::vector<std::string> words;
    auto fail = [&line](const std::string& why) {
        line.m_action = Action::Error;
        line.m_strError = why;
        return line;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help") {
            line.m_action = Action::Help;
            return line;
        }
        if (a == "--practice" || a == "--local") {
            (a == "--local" ? local : practice) = true;
            continue;
        }
        // "--name VALUE" or "--name=VALUE".
        const size_t equals = a.starts_with("--") ? a.find('=') : std::string::npos;
        const std::string name = a.substr(0, equals);
        if (name != "--level" && name != "--colour" && name != "--color" && name != "--time" &&
            name != "--engine") {
            words.push_back(a);
            continue;
        }
        std::string value;
        if (equals != std::string::npos)
            value = a.substr(equals + 1);
        else if (i + 1 < args.size())
            value = args[++i];
        else
            return fail(name + " needs a value");
        std::string error;
        PracticeRequest& request = line.m_practice;
        if (name == "--level")
            request.level = CPracticeDialogModel::ParseLevel(value, error);
        else if (name == "--time")
            request.time = CPracticeDialogModel::ParseTime(value, error);
        else if (name == "--engine")
            request.engineCommand = value;
        else
            request.colour = CPracticeDialogModel::ParseColour(value, error);
        if (!error.empty())
            return fail(error);
        if (name == "--engine" && value.find_first_not_of(' ') == std::string::npos)
            return fail("--engine needs the command of a UCI engine");
        // Each of them is about a game against the computer.
        practice = true;
    }

    // The record's path is the rest of the command line: a path with spaces may arrive in
    // pieces.
    std::string joined;
    for (const std::string& a : words)
        joined += (joined.empty() ? "" : " ") + a;
    if (practice && local)
        return fail("--practice and its options do not go with --local");
    if (practice && !joined.empty())
        return fail("a record is continued on the local table (kelo-chess --local RECORD), not "
                    "against the computer: '" +
                    joined + "'");
    line.m_action = practice ? Action::Practice : Action::Direct;
    line.m_strRecordPath = StripQuotes(joined);
    return line;
}

} // namespace kelo
