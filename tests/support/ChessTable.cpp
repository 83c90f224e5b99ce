#include "support/ChessTable.h"

namespace kelo::test {

ChessTable::ChessTable(uint32_t ownId) : table(board, Parts()) {
    mode.SetLocalMode(false); // at a game server
    people.AddPerson(MakePerson(100, "white", 0));
    people.AddPerson(MakePerson(200, "black", 1));
    people.SetColour(100, 0);
    people.SetColour(200, 1);
    people.SetOwnId(ownId);
}

} // namespace kelo::test
