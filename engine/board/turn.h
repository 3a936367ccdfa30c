// The pass rule shared by game records, the command line and the trainer.
#pragma once

#include "engine/board/board.h"

namespace kaimo {

// After `mover` has played on `board`, the opponent moves next unless it has
// no legal move while the mover has one: then the mover goes again (a pass
// is implied). When neither can move the game is over, and the turn stays
// with the opponent, as after any move: a finished game has no pass.
inline int sideToMoveAfter(const Board& board, int mover) {
  const int next = opponentOf(mover);
  return boardMobility(board, next) == 0 && boardMobility(board, mover) != 0 ? mover : next;
}

}  // namespace kaimo
