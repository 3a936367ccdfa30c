// The evaluation of "人間" and "狸", also used to order moves in the search.
#pragma once

#include "engine/board/board.h"

namespace kaimo {

// Every evaluation function: (board, final flag, side to move, counts) to a
// score from black's point of view. The callee may use `counts` as scratch.
using EvalFunc = int (*)(const Board& board, int finalFlag, int side, DiscCounts& counts);

int evalSimple(const Board& board, int finalFlag, int side, DiscCounts& counts);

// evalSimple with counts computed from the board.
int evalOrdering(const Board& board, int finalFlag, int side);

}  // namespace kaimo
