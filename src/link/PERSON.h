// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireRecord.h"

#include <cstddef>
#include <cstdint>
#include <tuple>

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

    // As the server announces a person (the table's people, 3106; a newcomer, 3107): the first
    // 256 bytes, fields at the same offsets, integers in network order. The school name keeps
    // its first 16 bytes; the level name and the two friendship flags do not travel.
    static constexpr size_t WIRE_SIZE = 256;
    static constexpr auto WIRE_FIELDS = std::tuple{
        wire::Field{0, &PERSON::id},
        wire::Field{4, &PERSON::username},
        wire::Field{38, &PERSON::nickname},
        wire::Field{72, &PERSON::sex},
        wire::Field{74, &PERSON::priority},
        wire::Field{76, &PERSON::forbidtype},
        wire::Field{78, &PERSON::headpicid},
        wire::Field{80, &PERSON::ismember},
        wire::Field{82, &PERSON::level},
        wire::Field{84, &PERSON::wealth},
        wire::Field{88, &PERSON::money},
        wire::Field{92, &PERSON::groupid},
        wire::Field{96, &PERSON::ip},
        wire::Field{100, &PERSON::proxyip},
        wire::Field{104, &PERSON::networkspeed},
        wire::Field{108, &PERSON::link_num},
        wire::Field{112, &PERSON::break_num},
        wire::Field{116, &PERSON::startgame_num},
        wire::Field{120, &PERSON::forceexit_num},
        wire::Field{124, &PERSON::is_permit_watch},
        wire::Field{128, &PERSON::gamescore},
        wire::Field{132, &PERSON::winnum},
        wire::Field{136, &PERSON::losenum},
        wire::Field{140, &PERSON::equalnum},
        wire::Field{144, &PERSON::score_level},
        wire::Field{148, &PERSON::teamid},
        wire::Field{152, &PERSON::status},
        wire::Field{154, &PERSON::deskno},
        wire::Field{156, &PERSON::seatno},
        wire::Field{158, &PERSON::watchno},
        wire::Field{160, &PERSON::m_sSRemark},
        wire::Field{200, &PERSON::m_sDRemark},
        wire::Field{220, &PERSON::m_sCRemark},
        wire::Field{240, &PERSON::school_name, WIRE_SIZE - 240},
    };
};

static_assert(sizeof(PERSON) == 284);
static_assert(wire::FieldsEnd<PERSON>() == PERSON::WIRE_SIZE);
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
