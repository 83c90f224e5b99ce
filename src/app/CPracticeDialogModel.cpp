// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CPracticeDialogModel.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace kelo {

namespace {

// The presets, quickest first: a short game, the local table's clocks and the server's.
const CPracticeDialogModel::TimePreset PRESETS[] = {
    {{300, 20, 2}, "快棋"},
    {{1200, 60, 10}, "标准"},
    {{1800, 60, 10}, "慢棋"},
};
constexpr size_t DEFAULT_PRESET = 1;

// A plain decimal number from low to high: no sign, no spaces, nothing after it.
bool ParseNumber(const std::string& text, long low, long high, long& out) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, out);
    return !text.empty() && error == std::errc() && stop == end && out >= low && out <= high;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Seconds as a person reads them: whole minutes as minutes.
std::string Duration(uint16_t seconds) {
    if (seconds >= 60 && seconds % 60 == 0)
        return std::to_string(seconds / 60) + "分钟";
    return std::to_string(seconds) + "秒";
}

} // namespace

CPracticeDialogModel::CPracticeDialogModel(const PracticeRequest& given) {
    m_choice.level = given.level.value_or(DEFAULT_LEVEL);
    m_choice.colour = given.colour.value_or(PracticeColour::White);
    m_choice.time = given.time.value_or(PRESETS[DEFAULT_PRESET].time);
    m_bAsks[static_cast<int>(Field::Level)] = !given.level;
    m_bAsks[static_cast<int>(Field::Colour)] = !given.colour;
    m_bAsks[static_cast<int>(Field::Time)] = !given.time;
    SetPresets(m_choice.time);
}

CPracticeDialogModel::CPracticeDialogModel(const PracticeChoice& current) : m_choice(current) {
    if (m_choice.level < MIN_LEVEL || m_choice.level > MAX_LEVEL)
        m_choice.level = DEFAULT_LEVEL;
    SetPresets(m_choice.time);
}

void CPracticeDialogModel::SetPresets(const PracticeTime& time) {
    m_presets.assign(std::begin(PRESETS), std::end(PRESETS));
    const auto found = std::find_if(m_presets.begin(), m_presets.end(),
                                    [&](const TimePreset& preset) { return preset.time == time; });
    if (found == m_presets.end()) {
        m_presets.push_back({time, "自定"});
        m_nTimeIndex = m_presets.size() - 1;
    } else {
        m_nTimeIndex = static_cast<size_t>(found - m_presets.begin());
    }
}

bool CPracticeDialogModel::Asks(Field field) const {
    return m_bAsks[static_cast<int>(field)];
}

bool CPracticeDialogModel::AsksAnything() const {
    return Asks(Field::Level) || Asks(Field::Colour) || Asks(Field::Time);
}

void CPracticeDialogModel::SetLevel(int level) {
    if (level >= MIN_LEVEL && level <= MAX_LEVEL)
        m_choice.level = level;
}

void CPracticeDialogModel::SetTimeIndex(size_t index) {
    if (index < m_presets.size())
        m_nTimeIndex = index;
}

PracticeChoice CPracticeDialogModel::Choice() const {
    PracticeChoice choice = m_choice;
    choice.time = m_presets[m_nTimeIndex].time;
    return choice;
}

std::string CPracticeDialogModel::LevelLabel(int level) {
    return std::to_string(level) + "级";
}

std::string CPracticeDialogModel::LevelHint(int level) {
    static const char* const HINTS[] = {"入门", "初学", "业余", "中等",
                                        "较强", "强",   "很强", "全力"};
    if (level < MIN_LEVEL || level > MAX_LEVEL)
        return {};
    return HINTS[level - MIN_LEVEL];
}

std::string CPracticeDialogModel::ColourLabel(PracticeColour colour) {
    switch (colour) {
    case PracticeColour::White:
        return "白";
    case PracticeColour::Black:
        return "黑";
    case PracticeColour::Random:
        break;
    }
    return "随机";
}

std::string CPracticeDialogModel::TimeLabel(const PracticeTime& time) {
    return Duration(time.total) + " 每步" + std::to_string(time.pace) + "秒 加" +
           std::to_string(time.added) + "秒";
}

std::string CPracticeDialogModel::PresetLabel(const TimePreset& preset) {
    return preset.name + "  " + TimeLabel(preset.time);
}

std::optional<int> CPracticeDialogModel::ParseLevel(const std::string& text, std::string& error) {
    long level = 0;
    if (!ParseNumber(text, MIN_LEVEL, MAX_LEVEL, level)) {
        error = "--level needs a level from 1 to 8, not '" + text + "'";
        return std::nullopt;
    }
    return static_cast<int>(level);
}

std::optional<PracticeColour> CPracticeDialogModel::ParseColour(const std::string& text,
                                                                std::string& error) {
    const std::string word = Lower(text);
    if (word == "white" || text == "白")
        return PracticeColour::White;
    if (word == "black" || text == "黑")
        return PracticeColour::Black;
    if (word == "random" || text == "随机")
        return PracticeColour::Random;
    error = "--colour needs white, black or random, not '" + text + "'";
    return std::nullopt;
}

std::optional<PracticeTime> CPracticeDialogModel::ParseTime(const std::string& text,
                                                            std::string& error) {
    long values[3] = {};
    size_t start = 0;
    bool ok = true;
    for (int i = 0; i < 3 && ok; ++i) {
        const size_t comma = i < 2 ? text.find(',', start) : text.size();
        if (comma == std::string::npos) {
            ok = false;
            break;
        }
        // The total and the move time must leave a move some time; nothing need be added.
        ok = ParseNumber(text.substr(start, comma - start), i < 2 ? 1 : 0, 32767, values[i]);
        start = comma + 1;
    }
    if (!ok) {
        error = "--time needs TOTAL,PACE,ADD in seconds (e.g. 1200,60,10; TOTAL and PACE from 1 "
                "to 32767, ADD from 0), not '" +
                text + "'";
        return std::nullopt;
    }
    return PracticeTime{static_cast<uint16_t>(values[0]), static_cast<uint16_t>(values[1]),
                        static_cast<uint16_t>(values[2])};
}

} // namespace kelo
