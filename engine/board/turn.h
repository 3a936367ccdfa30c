// The pass rule shared by game records, the command line and the trainer.
#pragma once

#include "engine/board/board.h"

namespace kaimo {

// After `mover` has played on `board`, the other colour moves next, unless
// it has no legal move: then the turn goes back to the mover (a pass is
// implied). So also when neither can move and the game is over: the last
// entry of a finished game belongs to the colour that played last. (The
// move list draws no pass there; see app/controller/move_list.h.)
inline int sideToMoveAfter(const Board& board, int mover) {
  const int next = opponentOf(mover);
  return boardMobility(board, next) == 0 ? mover : next;
}

}  // namespace kaimo
