// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace kelo {

// What the hall tells the table client before and while the table is open. Texts are kept
// as the hall sent them (GBK).
struct CHallSettings {
    static constexpr size_t URL_SIZE = 100;
    // Slots of the list head are 15 bytes long; the area holds 33 of them.
    static constexpr size_t LIST_HEAD_SLOT = 15;
    static constexpr size_t LIST_HEAD_SIZE = 33 * LIST_HEAD_SLOT;

    std::string gameServerHost;
    uint32_t gameServerPort = 0;
    uint16_t deskNo = 0;
    uint16_t roomId = 0;
    uint16_t sendTime = 0;
    uint16_t serviceType = 0;
    uint16_t gameType = 0;
    uint16_t subType = 0;

    int32_t useProxy = 0;
    uint16_t proxySelector = 0; // the hall's "issock4"
    int32_t proxyWithPassword = 0;
    std::string proxyHost;
    int32_t proxyPort = 0;
    std::string proxyUser;
    std::string proxyPassword;

    std::array<char, LIST_HEAD_SIZE> listHead{};
    size_t listHeadLength = 0;

    std::string comInfo;
    std::string reviewFileName;
    std::string dllFileName;
    std::string currentDirectory;
    int32_t doubleStyle = 0;
    std::array<char, URL_SIZE> gameAdvUrl{};
    std::array<char, URL_SIZE> tableAdvUrl{};
    std::array<char, URL_SIZE> pageUrl{};
    std::array<char, URL_SIZE> helpUrl{};
    uint32_t scorePerLevel = 0;
    std::vector<std::string> levelNames;

    // The table's advertisement page: the game's address with the game type, the subtype and
    // the room; empty when the hall named no page.
    std::string AdvertisementAddress() const {
        const std::string page(gameAdvUrl.data(), strnlen(gameAdvUrl.data(), gameAdvUrl.size()));
        if (page.empty())
            return {};
        char query[64];
        std::snprintf(query, sizeof query, "?type=%d&subtype=%d&roomid=%d", gameType, subType,
                      roomId);
        return page + query;
    }
};

} // namespace kelo
