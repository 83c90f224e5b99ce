// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CResultDialogModel.h"

#include "base/CGbkConverter.h"
#include "link/MSG_SCORES.h"
#include "table/CPlayerManager.h"

namespace kelo {

CResultDialogModel::CResultDialogModel(const std::string& line, const CPlayerManager& people,
                                       const MSG_SCORES_BODY& scores)
    : m_line(line) {
    m_columns = {{"用户", 80}, {"本局", 60}, {"总分", 60}, {"赢", 30}, {"输", 30}, {"平", 30}};
    for (int16_t seat = 0; seat < 2; ++seat) {
        Row row;
        if (const CPlayerRecord* player = people.GetPersonBySeat(seat)) {
            // The name is cut in GBK, where it is counted, and never in the middle of a
            // character.
            std::string gbk = CGbkConverter::FromField(player->person.nickname);
            if (gbk.size() > NAME_LIMIT) {
                size_t cut = 0;
                while (cut < gbk.size()) {
                    const size_t width = static_cast<uint8_t>(gbk[cut]) >= 0x80 ? 2 : 1;
                    if (cut + width > NAME_LIMIT)
                        break;
                    cut += width;
                }
                gbk.resize(cut);
            }
            row.name = CGbkConverter::ToUtf8(gbk);
        }
        row.values = {scores.points[seat], scores.total[seat], scores.won[seat], scores.lost[seat],
                      scores.drawn[seat]};
        m_rows.push_back(row);
    }
}

std::string CResultDialogModel::Cell(size_t row, size_t column) const {
    if (row >= m_rows.size() || column >= m_columns.size())
        return {};
    if (column == 0)
        return m_rows[row].name;
    return std::to_string(m_rows[row].values[column - 1]);
}

int CResultDialogModel::Width() const {
    int width = 0;
    for (const Column& column : m_columns)
        width += column.width;
    return width;
}

int CResultDialogModel::Height() const {
    return ROW_HEIGHT * (static_cast<int>(m_rows.size()) + 2) + TOP_MARGIN + BOTTOM_SPACE;
}

CRect CResultDialogModel::CloseButton() const {
    const int left = (Width() - 60) / 2;
    const int bottom = Height() - 5;
    return {left, bottom - 30, left + 60, bottom};
}

} // namespace kelo
