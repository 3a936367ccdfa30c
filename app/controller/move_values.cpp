#include "app/controller/move_values.h"

#include "engine/eval/routines.h"
#include "engine/eval/score.h"

namespace kaimo {
namespace {

// One read of `child` with `mover` to move, shaped as the computer turn
// would shape the read of a position with that many empty squares and depth.
int readChild(const Board& child, int mover, int depth, const Evaluator& evaluator, const std::stop_token& stop,
              SearchTable& table, std::int64_t& leafCount) {
  SearchContext context;
  prepareSearch(context, evaluator, stop, nullptr, depth, &table);
  const int value = searchRoot(child, mover, depth, -SCORE_INF, SCORE_INF, context, 0, depth);
  leafCount += context.thread.leafCount;
  return value;
}

// The value of the move that led to `child`, for `side`, or a marker. A pass
// of the opponent lets the side move again, as the search's own nodes do.
int moveValue(const Board& child, int side, int depth, const Evaluator& evaluator, const std::stop_token& stop,
              SearchTable& table, std::int64_t& leafCount) {
  const int reply = readChild(child, opponentOf(side), depth, evaluator, stop, table, leafCount);
  if (isMarker(reply)) return reply;
  if (reply != SCORE_NO_MOVE) return -reply;
  const int again = readChild(child, side, depth, evaluator, stop, table, leafCount);
  if (again != SCORE_NO_MOVE) return again;
  DiscCounts counts;
  boardCount(child, counts);
  return scoreFinal(counts[side], counts[opponentOf(side)]);
}

}  // namespace

int moveValuesDepth(const Board& board, const SideSettings& settings) {
  return settings.depthFor(boardEmptyCount(board));
}

MoveValuesResult searchMoveValues(const Board& board, int side, const SideSettings& settings, std::stop_token stop,
                                  SearchTable& table, SquareValues& values, AnalysisProgressFunc onProgress,
                                  void* user) {
  values.fill(SCORE_NONE);
  const int depth = moveValuesDepth(board, settings);
  MoveValuesResult result{depth, 0, 0};
  // A human side asks for a hint too, and reads with "狸" (the routine
  // table gives every routine without a network the simple evaluation).
  const Evaluator evaluator = routineEvaluator(settings.routine);
  const int total = boardMobility(board, side);
  int done = 0;
  Board child;
  for (int s = 0; s < kSquareCount; ++s) {
    if (boardPlay(board, child, s, side) <= 1) continue;
    result.last = moveValue(child, side, depth - 1, evaluator, stop, table, result.leafCount);
    if (isMarker(result.last)) break;
    values[s] = result.last;
    ++done;
    if (onProgress != nullptr) onProgress(values, done, total, user);
  }
  return result;
}

int bestValuedSquare(const SquareValues& values) {
  int best = -1;
  for (int s = 0; s < kSquareCount; ++s) {
    if (values[s] != SCORE_NONE && (best < 0 || values[s] > values[best])) best = s;
  }
  return best;
}

}  // namespace kaimo
