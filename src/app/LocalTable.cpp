#include "app/LocalTable.h"

#include "app/CGameContext.h"
#include "base/CGbkConverter.h"
#include "link/PERSON.h"

namespace kelo {

namespace {
constexpr uint32_t WHITE_ID = 50001336;
constexpr uint32_t BLACK_ID = 1001;
constexpr uint16_t LOCAL_GAME_TYPE = 107;
constexpr int16_t SEATED = 4;

PERSON LocalPlayer(uint32_t id, const char* username, const char* nickname, int16_t seat) {
    PERSON person{};
    person.id = id;
    CGbkConverter::ToField(person.username, CGbkConverter::ToGbk(username));
    CGbkConverter::ToField(person.nickname, CGbkConverter::ToGbk(nickname));
    person.seatno = seat;
    person.status = SEATED;
    return person;
}
} // namespace

void SetUpLocalTable(CGameContext& context) {
    context.Mode().SetLocalMode(true);
    context.Mode().SetRole(TableRole::Player);
    context.Hall().gameType = LOCAL_GAME_TYPE;

    CPlayerManager& people = context.PlayerManager();
    people.Clear();
    PERSON white = LocalPlayer(WHITE_ID, "matchuser001", "白方", 0);
    white.sex = 1;
    white.headpicid = 11;
    PERSON black = LocalPlayer(BLACK_ID, "name2", "黑方", 1);
    black.forbidtype = 1;
    people.AddPerson(white);
    people.AddPerson(black);
    people.SetOwnId(WHITE_ID);
    people.SetSeatCount(2);

    CPlayerTimeControl& time = context.TimeControl();
    time.m_nTotalTime = 1200;
    time.m_nPaceTime = 60;
    time.m_nPaceAddedTime = 10;
}

} // namespace kelo
