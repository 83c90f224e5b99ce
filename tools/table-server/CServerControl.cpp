// SPDX-License-Identifier: GPL-3.0-or-later
#include "CServerControl.h"

#include <cstdlib>

namespace kelo {

void CServerControl::Feed(const char* data, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\n') {
            if (m_bOverlong)
                m_commands.push_back({Command::Kind::Bad, {}, m_strPartial + "..."});
            else
                TakeLine(m_strPartial);
            m_strPartial.clear();
            m_bOverlong = false;
        } else if (m_strPartial.size() < MAX_LINE) {
            m_strPartial.push_back(c);
        } else {
            m_bOverlong = true;
        }
    }
}

std::vector<CServerControl::Command> CServerControl::TakeCommands() {
    std::vector<Command> commands;
    commands.swap(m_commands);
    return commands;
}

void CServerControl::TakeLine(const std::string& text) {
    std::string line = text;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    if (line.empty())
        return;
    Command command;
    command.line = line;
    const std::string TIME = "time ";
    if (line.compare(0, TIME.size(), TIME) == 0 &&
        ParseTime(line.substr(TIME.size()), command.time))
        command.kind = Command::Kind::Time;
    m_commands.push_back(command);
}

bool CServerControl::ParseTime(const std::string& text, CTableServer::TimeSettings& time) {
    long values[3];
    const char* p = text.c_str();
    for (int i = 0; i < 3; ++i) {
        char* end = nullptr;
        values[i] = std::strtol(p, &end, 10);
        if (end == p || values[i] < 0 || values[i] > 32767 || *end != (i < 2 ? ',' : '\0'))
            return false;
        p = end + 1;
    }
    time.total = static_cast<uint16_t>(values[0]);
    time.pace = static_cast<uint16_t>(values[1]);
    time.added = static_cast<uint16_t>(values[2]);
    return true;
}

} // namespace kelo
