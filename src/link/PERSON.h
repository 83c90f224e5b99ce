#pragma once

#include <cstddef>
#include <cstdint>

namespace kelo {

// A person of the hall as the hall hands it over: 284 bytes, natural alignment. Texts are GBK
// and ended by a zero byte.
struct PERSON {
    uint32_t id;
    char username[34];
    char nickname[34];
    int16_t sex;
    int16_t priority;
    uint16_t forbidtype;
    int16_t headpicid;
    int16_t ismember;
    int16_t level;
    int32_t wealth;
    int32_t money;
    int16_t groupid;
    int32_t ip;
    int32_t proxyip;
    int16_t networkspeed;
    int32_t link_num;
    int32_t break_num;
    int32_t startgame_num;
    int32_t forceexit_num;
    int16_t is_permit_watch;
    int32_t gamescore;
    int32_t winnum;
    int32_t losenum;
    int32_t equalnum;
    int16_t score_level;
    int32_t teamid;
    int16_t status;
    int16_t deskno;
    int16_t seatno;
    int16_t watchno;
    char m_sSRemark[40];
    char m_sDRemark[20];
    char m_sCRemark[20];
    char school_name[20];
    char level_name[20];
    int16_t ismyfriend;
    int16_t ismydislike;
};

static_assert(sizeof(PERSON) == 284);
static_assert(offsetof(PERSON, username) == 4);
static_assert(offsetof(PERSON, nickname) == 38);
static_assert(offsetof(PERSON, sex) == 72);
static_assert(offsetof(PERSON, wealth) == 84);
static_assert(offsetof(PERSON, groupid) == 92);
static_assert(offsetof(PERSON, ip) == 96);
static_assert(offsetof(PERSON, networkspeed) == 104);
static_assert(offsetof(PERSON, link_num) == 108);
static_assert(offsetof(PERSON, is_permit_watch) == 124);
static_assert(offsetof(PERSON, gamescore) == 128);
static_assert(offsetof(PERSON, score_level) == 144);
static_assert(offsetof(PERSON, teamid) == 148);
static_assert(offsetof(PERSON, status) == 152);
static_assert(offsetof(PERSON, seatno) == 156);
static_assert(offsetof(PERSON, watchno) == 158);
static_assert(offsetof(PERSON, m_sSRemark) == 160);
static_assert(offsetof(PERSON, m_sDRemark) == 200);
static_assert(offsetof(PERSON, level_name) == 260);
static_assert(offsetof(PERSON, ismyfriend) == 280);
static_assert(offsetof(PERSON, ismydislike) == 282);

} // namespace kelo
