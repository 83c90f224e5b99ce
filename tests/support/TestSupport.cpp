// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

#include <cstring>

namespace kelo::test {

PERSON MakePerson(uint32_t id, const char* username, int16_t seat, int16_t status) {
    PERSON person{};
    person.id = id;
    std::strncpy(person.username, username, sizeof(person.username) - 1);
    std::strncpy(person.nickname, username, sizeof(person.nickname) - 1);
    person.seatno = seat;
    person.status = status;
    return person;
}

} // namespace kelo::test
