// The pass rule shared by game records, the command line and the trainer.
#pragma once

#include "engine/board/board.h"

namespace kaimo {

// After `mover` has played on `board`, the opponent moves next unless it has
// no legal move, in which case the mover goes again (a pass is implied).
inline int sideToMoveAfter(const Board& board, int mover) {
  const int next = opponentOf(mover);
  return boardMobility(board, next) == 0 ? mover : next;
}

}  // namespace kaimo
