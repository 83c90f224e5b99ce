// SPDX-License-Identifier: GPL-3.0-or-later
#include "CPgnGame.h"

#include <cctype>

namespace {

std::string Quoted(const std::string& value) {
    std::string out = "\"";
    for (char c : value) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

bool IsResult(const std::string& token) {
    return token == "1-0" || token == "0-1" || token == "1/2-1/2" || token == "*";
}

} // namespace

std::string CPgnGame::Tag(const std::string& name) const {
    for (const auto& [tag, value] : m_tags)
        if (tag == name)
            return value;
    return {};
}

std::string CPgnGame::Write() const {
    std::string out;
    for (const auto& [tag, value] : m_tags)
        out += "[" + tag + " " + Quoted(value) + "]\n";
    out += "\n";
    std::string line;
    const auto add = [&](const std::string& token) {
        if (!line.empty() && line.size() + 1 + token.size() >= 80) {
            out += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + token;
    };
    for (size_t i = 0; i < m_moves.size(); ++i) {
        if (i % 2 == 0)
            add(std::to_string(i / 2 + 1) + ".");
        add(m_moves[i]);
    }
    add(m_result);
    return out + line + "\n";
}

bool CPgnGame::Read(const std::string& text, std::string& error) {
    m_tags.clear();
    m_moves.clear();
    m_result = "*";
    size_t i = 0;
    int line = 1;
    int depth = 0; // inside variations
    const auto fail = [&](const std::string& what) {
        error = "line " + std::to_string(line) + ": " + what;
        return false;
    };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '{') {
            const size_t end = text.find('}', i);
            if (end == std::string::npos)
                return fail("a comment without its end");
            for (size_t k = i; k < end; ++k)
                line += text[k] == '\n';
            i = end + 1;
        } else if (c == ';' || (c == '%' && (i == 0 || text[i - 1] == '\n'))) {
            while (i < text.size() && text[i] != '\n')
                ++i;
        } else if (c == '(') {
            ++depth;
            ++i;
        } else if (c == ')') {
            if (depth == 0)
                return fail("a variation's end without its start");
            --depth;
            ++i;
        } else if (c == '[' && depth == 0) {
            if (!m_moves.empty())
                break; // the next game's tags
            const size_t end = text.find(']', i);
            if (end == std::string::npos)
                return fail("a tag without its end");
            const std::string pair = text.substr(i + 1, end - i - 1);
            const size_t open = pair.find('"'), close = pair.rfind('"');
            if (open == std::string::npos || close == open)
                return fail("a tag without a quoted value");
            std::string name = pair.substr(0, open);
            while (!name.empty() && std::isspace(static_cast<unsigned char>(name.back())))
                name.pop_back();
            std::string value;
            for (size_t k = open + 1; k < close; ++k) {
                if (pair[k] == '\\' && k + 1 < close)
                    ++k;
                value += pair[k];
            }
            m_tags.emplace_back(name, value);
            i = end + 1;
        } else {
            size_t end = i;
            while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end])) &&
                   std::string("{}();[").find(text[end]) == std::string::npos)
                ++end;
            if (end == i)
                return fail(std::string("an unexpected '") + c + "'");
            std::string token = text.substr(i, end - i);
            i = end;
            if (depth > 0 || token[0] == '$' || token == "e.p.")
                continue;
            if (IsResult(token)) {
                m_result = token;
                break;
            }
            // A move number, "12." or "12...", perhaps glued to its move.
            size_t digits = 0;
            while (digits < token.size() && std::isdigit(static_cast<unsigned char>(token[digits])))
                ++digits;
            if (digits > 0 && digits < token.size() && token[digits] == '.') {
                while (digits < token.size() && token[digits] == '.')
                    ++digits;
                token.erase(0, digits);
            }
            if (!token.empty())
                m_moves.push_back(token);
        }
    }
    if (depth > 0)
        return fail("a variation without its end");
    return true;
}
