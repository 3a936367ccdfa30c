// The main game-tree search: negamax alpha-beta with fail-soft results. Near
// the root (depth >= orderDepth) nodes order their moves, keep bounds and
// tried marks in the transposition table, poll the stop request and report
// progress; below that they scan squares in order and hand the last plies to
// the endgame solver. The same routine carries the exact reads to the end.
#pragma once

#include <cstdint>

#include "engine/search/search_context.h"

namespace kaimo {

// The value of the position for `side` (alpha < beta), SCORE_NO_MOVE when
// depth > 0 and `side` has no move, or a marker above SCORE_INF (a stop or an
// evaluation failure) passed up unchanged. `entry` is the position's table
// entry or null; `empties` lists every empty square of the board.
int searchMidgame(const Board& board, int side, int depth, int alpha, int beta, SearchContext& context,
                  int progressBase, int progressSpan, const std::int8_t* empties, TableEntry* entry);

}  // namespace kaimo
