// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/IniTypes.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kelo {

class CPlayerManager;
struct MSG_SCORES_BODY;

// The score table shown at the end of a game: the result line, one row per seat with the
// player's nickname and the five values of the seat, and the sizes the dialog is drawn with.
class CResultDialogModel {
public:
    static constexpr int ROW_HEIGHT = 22;
    static constexpr int TOP_MARGIN = 38;
    static constexpr int BOTTOM_SPACE = 40;
    static constexpr int NAME_LIMIT = 31;
    static constexpr int32_t ID_CLOSE = 8003;

    struct Column {
        std::string title;
        int width;
    };
    struct Row {
        std::string name;
        std::array<int32_t, 5> values{};
    };

    CResultDialogModel(const std::string& line, const CPlayerManager& people,
                       const MSG_SCORES_BODY& scores);

    const std::string& Line() const { return m_line; }
    const std::vector<Column>& Columns() const { return m_columns; }
    const std::vector<Row>& Rows() const { return m_rows; }
    // The text of a cell: the name, or the value written as a signed number.
    std::string Cell(size_t row, size_t column) const;

    int Width() const;
    int Height() const;
    // The close button, centred, its bottom 5 above the dialog's bottom edge.
    CRect CloseButton() const;

private:
    std::string m_line;
    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
};

} // namespace kelo
