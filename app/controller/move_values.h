// The value of every legal move of a position, each from its own search at
// the depth a computer turn of the side would read: the hint's numbers. Only
// the search driver's public entry points are used, so the engine's inner
// workings can change without this file.
#pragma once

#include <cstdint>

#include "engine/search/endgame_analysis.h"
#include "engine/search/search_driver.h"

namespace kaimo {

struct MoveValuesResult {
  int depth;               // the depth of the position's own read: each move is read one ply less
  int last;                // the last search result: above SCORE_INF when stopped or failed
  std::int64_t leafCount;  // leaves of all the searches
};

// The depth a computer turn of `settings` chooses for `board` (a read to the
// end where the exact-read or win-read depth covers the empty squares).
int moveValuesDepth(const Board& board, const SideSettings& settings);

// Searches every legal move of `side` in square order, with the evaluation of
// the side's routine, to the depth above minus the move itself; values are
// from `side`'s point of view, so the largest is what the computer's own
// search of the position gives. Stops early when `stop` is requested or the
// evaluation fails; the values found so far stay in `values`. Every search
// uses `table` (the caller's, for one search at a time).
MoveValuesResult searchMoveValues(const Board& board, int side, const SideSettings& settings, std::stop_token stop,
                                  SearchTable& table, SquareValues& values, AnalysisProgressFunc onProgress,
                                  void* user);

// The square with the largest value, the first in square order on a tie; -1
// when there is none.
int bestValuedSquare(const SquareValues& values);

}  // namespace kaimo
