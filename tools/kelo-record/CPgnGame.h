// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>
#include <vector>

// One game in PGN: its tag pairs and its moves in standard algebraic notation.
class CPgnGame {
public:
    std::vector<std::pair<std::string, std::string>> m_tags;
    std::vector<std::string> m_moves;
    std::string m_result = "*";

    // The value of a tag, empty when the game has none.
    std::string Tag(const std::string& name) const;
    // The game as PGN text: the tags, a blank line, the numbered moves wrapped below 80
    // columns, the result.
    std::string Write() const;
    // Reads the first game of a PGN text. Comments, variations, numeric annotations and move
    // numbers are skipped. False with a message naming the place when the text is no game.
    bool Read(const std::string& text, std::string& error);
};
