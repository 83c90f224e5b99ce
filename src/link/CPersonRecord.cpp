#include "link/CPersonRecord.h"

#include "link/WireOrder.h"

#include <cstddef>
#include <cstring>
#include <type_traits>

namespace kelo {

namespace {

// Visits every travelling field of the record with its offset.
template <typename P, typename Int16, typename Int32, typename Text>
void ForEachField(P& p, Int16 int16, Int32 int32, Text text) {
    int32(offsetof(PERSON, id), p.id);
    text(offsetof(PERSON, username), p.username, sizeof(p.username));
    text(offsetof(PERSON, nickname), p.nickname, sizeof(p.nickname));
    int16(offsetof(PERSON, sex), p.sex);
    int16(offsetof(PERSON, priority), p.priority);
    int16(offsetof(PERSON, forbidtype), p.forbidtype);
    int16(offsetof(PERSON, headpicid), p.headpicid);
    int16(offsetof(PERSON, ismember), p.ismember);
    int16(offsetof(PERSON, level), p.level);
    int32(offsetof(PERSON, wealth), p.wealth);
    int32(offsetof(PERSON, money), p.money);
    int16(offsetof(PERSON, groupid), p.groupid);
    int32(offsetof(PERSON, ip), p.ip);
    int32(offsetof(PERSON, proxyip), p.proxyip);
    int16(offsetof(PERSON, networkspeed), p.networkspeed);
    int32(offsetof(PERSON, link_num), p.link_num);
    int32(offsetof(PERSON, break_num), p.break_num);
    int32(offsetof(PERSON, startgame_num), p.startgame_num);
    int32(offsetof(PERSON, forceexit_num), p.forceexit_num);
    int16(offsetof(PERSON, is_permit_watch), p.is_permit_watch);
    int32(offsetof(PERSON, gamescore), p.gamescore);
    int32(offsetof(PERSON, winnum), p.winnum);
    int32(offsetof(PERSON, losenum), p.losenum);
    int32(offsetof(PERSON, equalnum), p.equalnum);
    int16(offsetof(PERSON, score_level), p.score_level);
    int32(offsetof(PERSON, teamid), p.teamid);
    int16(offsetof(PERSON, status), p.status);
    int16(offsetof(PERSON, deskno), p.deskno);
    int16(offsetof(PERSON, seatno), p.seatno);
    int16(offsetof(PERSON, watchno), p.watchno);
    text(offsetof(PERSON, m_sSRemark), p.m_sSRemark, sizeof(p.m_sSRemark));
    text(offsetof(PERSON, m_sDRemark), p.m_sDRemark, sizeof(p.m_sDRemark));
    text(offsetof(PERSON, m_sCRemark), p.m_sCRemark, sizeof(p.m_sCRemark));
    text(offsetof(PERSON, school_name), p.school_name,
         CPersonRecord::SIZE - offsetof(PERSON, school_name));
}

} // namespace

std::array<uint8_t, CPersonRecord::SIZE> CPersonRecord::ToWire(const PERSON& person) {
    std::array<uint8_t, SIZE> out{};
    uint8_t* o = out.data();
    ForEachField(
        person, [&](size_t at, auto v) { wire::PutU16(o + at, static_cast<uint16_t>(v)); },
        [&](size_t at, auto v) { wire::PutU32(o + at, static_cast<uint32_t>(v)); },
        [&](size_t at, const char* text, size_t size) { std::memcpy(o + at, text, size); });
    return out;
}

PERSON CPersonRecord::FromWire(const uint8_t* record) {
    PERSON person{};
    ForEachField(
        person,
        [&](size_t at, auto& v) {
            v = static_cast<std::remove_reference_t<decltype(v)>>(wire::GetU16(record + at));
        },
        [&](size_t at, auto& v) {
            v = static_cast<std::remove_reference_t<decltype(v)>>(wire::GetU32(record + at));
        },
        [&](size_t at, char* text, size_t size) {
            std::memcpy(text, record + at, size);
            text[size - 1] = 0; // a text that fills its field is cut by one byte
        });
    return person;
}

} // namespace kelo
