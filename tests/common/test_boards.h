// Positions several suites build their games from.
#pragma once

#include "engine/board/board.h"

namespace kaimo::testing {

// Six empty squares a1..a6, white b1..b6 and a10, black elsewhere: black is
// far ahead; both sides can move, and the game ends in a few moves.
inline Board nearlyFullBoard() {
  Board b;
  b.fill(kBlack);
  for (int row = 0; row < 6; ++row) {
    b[squareAt(0, row)] = kEmpty;
    b[squareAt(1, row)] = kWhite;
  }
  b[squareAt(0, 9)] = kWhite;
  return b;
}

}  // namespace kaimo::testing
