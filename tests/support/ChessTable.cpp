// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ChessTable.h"

namespace kelo::test {

ChessTable::ChessTable(uint32_t ownId)
    : table(board, Parts(), nullptr, &sound, [this] {
          if (saveOffer)
              saveOffer();
      }) {
    mode.SetLocalMode(false); // at a game server
    people.AddPerson(MakePerson(100, "white", 0));
    people.AddPerson(MakePerson(200, "black", 1));
    people.SetColour(100, Colour::White);
    people.SetColour(200, Colour::Black);
    people.SetOwnId(ownId);
}

} // namespace kelo::test
