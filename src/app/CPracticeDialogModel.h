// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/PracticeChoice.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kelo {

// What the dialog of a game against the computer ("与电脑对弈") asks and chooses, apart from its
// window: the computer's level (1 to 8), the person's colour (白, 黑 or 随机) and the clocks,
// picked from a few presets. At the start it asks only what the command line left out and keeps
// the rest as given; between games it asks everything, opening on the choice in force. The
// options' values are read here too, each with a one-line reason when it is not one.
class CPracticeDialogModel {
public:
    static constexpr int MIN_LEVEL = 1;
    static constexpr int MAX_LEVEL = 8;
    static constexpr int DEFAULT_LEVEL = 4;
    static constexpr const char* TITLE = "与电脑对弈";

    enum class Field { Level, Colour, Time };

    struct TimePreset {
        PracticeTime time;
        // "标准" and the like; a time given on the command line that is none of the presets is
        // "自定".
        std::string name;
    };

    // The start: the fields the request leaves out are asked, opening on their defaults (level
    // 4, White, the local table's 20 minutes).
    explicit CPracticeDialogModel(const PracticeRequest& given);
    // Between games: every field is asked, opening on the choice in force.
    explicit CPracticeDialogModel(const PracticeChoice& current);

    bool Asks(Field field) const;
    // False when the command line gave all three: nothing is shown.
    bool AsksAnything() const;

    int Level() const { return m_choice.level; }
    // A level outside 1 to 8 is ignored.
    void SetLevel(int level);
    PracticeColour Colour() const { return m_choice.colour; }
    void SetColour(PracticeColour colour) { m_choice.colour = colour; }
    // Quick, the local table's and the server's clocks, and a time of the command line's that is
    // none of them.
    const std::vector<TimePreset>& TimePresets() const { return m_presets; }
    size_t TimeIndex() const { return m_nTimeIndex; }
    // An index past the presets is ignored.
    void SetTimeIndex(size_t index);

    // What was chosen, the given fields as given.
    PracticeChoice Choice() const;

    static constexpr std::array<PracticeColour, 3> COLOURS = {
        PracticeColour::White, PracticeColour::Black, PracticeColour::Random};
    // "4级"; and a word on its strength ("中等").
    static std::string LevelLabel(int level);
    static std::string LevelHint(int level);
    // "白", "黑", "随机".
    static std::string ColourLabel(PracticeColour colour);
    // "20分钟 每步60秒 加10秒".
    static std::string TimeLabel(const PracticeTime& time);
    // A preset as the dialog lists it: "标准  20分钟 每步60秒 加10秒".
    static std::string PresetLabel(const TimePreset& preset);

    // The options' values: --level 1..8, --colour white|black|random, --time TOTAL,PACE,ADD
    // (seconds; a total and a move time of at least one second, each at most 32767). Nothing,
    // with the reason in error, for a value that is not one.
    static std::optional<int> ParseLevel(const std::string& text, std::string& error);
    static std::optional<PracticeColour> ParseColour(const std::string& text, std::string& error);
    static std::optional<PracticeTime> ParseTime(const std::string& text, std::string& error);

private:
    void SetPresets(const PracticeTime& time);

    PracticeChoice m_choice;
    bool m_bAsks[3] = {true, true, true};
    std::vector<TimePreset> m_presets;
    size_t m_nTimeIndex = 0;
};

} // namespace kelo
