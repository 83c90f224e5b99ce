// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CCommandLine.h"

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
    // The record's path is the whole command line: a path with spaces may arrive in pieces.
    std::string joined;
    for (const std::string& a : args)
        joined += (joined.empty() ? "" : " ") + a;
    line.m_strRecordPath = StripQuotes(joined);
    return line;
}

} // namespace kelo
