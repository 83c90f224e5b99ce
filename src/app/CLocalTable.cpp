// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CLocalTable.h"

#include "app/CGameContext.h"
#include "base/CGbkConverter.h"
#include "base/GameSettings.h"
#include "link/PERSON.h"

#include <algorithm>
#include <cstring>

namespace kelo {

namespace {

PERSON Player(uint32_t id, const char* username, const char* nickname, int16_t sex, int16_t seat) {
    PERSON person{};
    person.id = id;
    CGbkConverter::ToField(person.username, CGbkConverter::ToGbk(username));
    CGbkConverter::ToField(person.nickname, CGbkConverter::ToGbk(nickname));
    person.sex = sex;
    person.seatno = seat;
    person.status = 4;
    return person;
}

} // namespace

void CLocalTable::Prepare(CGameContext& context) {
    context.Mode().SetLocalMode(true);
    context.Mode().SetRole(TableRole::Player);
    CHallSettings& hall = context.Hall();
    hall.gameType = GAME_TYPE;
    hall.gameAdvUrl.fill(0);
    std::memcpy(hall.gameAdvUrl.data(), ADV_PAGE,
                std::min(std::strlen(ADV_PAGE), hall.gameAdvUrl.size() - 1));

    PERSON white = Player(FIRST_PLAYER_ID, "matchuser001", "白方", 1, 0);
    white.headpicid = 11;
    PERSON black = Player(SECOND_PLAYER_ID, "name2", "黑方", 0, 1);
    black.forbidtype = 1;
    CPlayerManager& people = context.PlayerManager();
    people.AddPerson(white);
    people.AddPerson(black);
    people.SetOwnId(FIRST_PLAYER_ID);
    people.SetSeatCount(2);

    // The person list's column titles, one 15-byte slot each.
    hall.listHead.fill(0);
    const char* const titles[] = {"用户名", "执子色", " "};
    for (size_t i = 0; i < 3; ++i) {
        CGbkConverter::ToField(hall.listHead.data() + i * CHallSettings::LIST_HEAD_SLOT,
                               CHallSettings::LIST_HEAD_SLOT, CGbkConverter::ToGbk(titles[i]));
    }
    hall.listHeadLength = 3 * CHallSettings::LIST_HEAD_SLOT;

    CPlayerTimeControl& time = context.TimeControl();
    time.m_nTotalTime = 1200;
    time.m_nPaceTime = 60;
    time.m_nPaceAddedTime = 10;
}

void CLocalTable::TakeStyleLibrary(CGameContext& context) {
    CHallSettings& hall = context.Hall();
    if (hall.dllFileName.empty())
        hall.dllFileName = context.Settings().m_strDllFileName;
}

} // namespace kelo
