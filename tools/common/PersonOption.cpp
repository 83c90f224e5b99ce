// SPDX-License-Identifier: GPL-3.0-or-later
#include "PersonOption.h"

#include "base/CGbkConverter.h"
#include "base/TableTypes.h"

#include <charconv>
#include <cstdint>
#include <vector>

namespace kelo {

namespace {

// A plain decimal number from low to high: no sign, no spaces, nothing after it.
bool ParseNumber(const std::string& text, uint64_t low, uint64_t high, uint64_t& out) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, out);
    return !text.empty() && error == std::errc() && stop == end && out >= low && out <= high;
}

std::string Range(uint64_t low, uint64_t high) {
    return "a number from " + std::to_string(low) + " to " + std::to_string(high);
}

} // namespace

std::optional<PERSON> PersonOption::Parse(const std::string& text, Role role, int seatCount,
                                          std::string& error) {
    const bool watcher = role == Role::Watcher;
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == ':')
            parts.emplace_back();
        else
            parts.back().push_back(c);
    }
    if (parts.size() != 4 && !(watcher && parts.size() == 5)) {
        error = std::string("needs ") + (watcher ? WATCHER_FORM : PLAYER_FORM);
        return std::nullopt;
    }

    PERSON person{};
    uint64_t id = 0;
    if (!ParseNumber(parts[0], 1, UINT32_MAX, id)) {
        error = "ID must be " + Range(1, UINT32_MAX);
        return std::nullopt;
    }
    person.id = static_cast<uint32_t>(id);

    const std::string username = CGbkConverter::ToGbk(parts[1]);
    const std::string nickname = CGbkConverter::ToGbk(parts[2]);
    if (username.empty() || username.size() >= sizeof person.username) {
        error = "USERNAME must have 1 to " + std::to_string(sizeof person.username - 1) +
                " bytes in GBK";
        return std::nullopt;
    }
    if (nickname.size() >= sizeof person.nickname) {
        error = "NICKNAME must have at most " + std::to_string(sizeof person.nickname - 1) +
                " bytes in GBK";
        return std::nullopt;
    }
    CGbkConverter::ToField(person.username, username);
    CGbkConverter::ToField(person.nickname, nickname);

    const uint64_t lastSeat = seatCount > 0 ? static_cast<uint64_t>(seatCount - 1) : 0;
    uint64_t seat = 0;
    const size_t seatPart = watcher ? 4 : 3;
    if (seatPart < parts.size() && !ParseNumber(parts[seatPart], 0, lastSeat, seat)) {
        error = "SEAT must be " + Range(0, lastSeat);
        return std::nullopt;
    }
    uint64_t watchno = 0;
    if (watcher && !ParseNumber(parts[3], 0, INT16_MAX, watchno)) {
        error = "WATCHNO must be " + Range(0, INT16_MAX);
        return std::nullopt;
    }

    person.status = WireValue(watcher ? TableRole::Watcher : TableRole::Player);
    person.seatno = static_cast<int16_t>(seat);
    person.watchno = static_cast<int16_t>(watcher ? watchno : -1);
    return person;
}

} // namespace kelo
