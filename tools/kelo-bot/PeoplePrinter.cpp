// SPDX-License-Identifier: GPL-3.0-or-later
#include "PeoplePrinter.h"

#include "link/PERSON.h"

#include <algorithm>
#include <vector>

namespace kelo {

PeoplePrinter::PeoplePrinter(CPlayerManager& people, CTableState& state,
                             std::function<void(const std::string&)> print)
    : m_view(people, state, &m_list), m_print(std::move(print)) {}

void PeoplePrinter::OnMessageRev(const CMessageRev& message) {
    m_view.OnMessageRev(message);
    std::string line = Line();
    if (line == m_last)
        return;
    m_last = std::move(line);
    m_print(m_last);
}

std::string PeoplePrinter::Line() const {
    std::vector<uint32_t> ids;
    for (const PERSON& person : m_list.Rows())
        ids.push_back(person.id);
    std::sort(ids.begin(), ids.end());
    std::string line = "people ";
    for (size_t i = 0; i < ids.size(); ++i)
        line += (i == 0 ? "" : ",") + std::to_string(ids[i]);
    return line;
}

} // namespace kelo
