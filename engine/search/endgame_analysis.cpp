#include "engine/search/endgame_analysis.h"

#include "engine/eval/score.h"
#include "engine/search/search_driver.h"

namespace kaimo {
namespace {

// A read to the end of `child` with `mover` to move and `depth` empty squares.
int readToEnd(const Board& child, int mover, int depth, EvalFunc evaluate, StopFunc shouldStop,
              std::int64_t& leafCount) {
  SearchContext context;
  prepareSearch(context, depth, evaluate, shouldStop, nullptr, depth, 0, 0, 0, 0, solverDepthFor(depth, depth),
                hashDepthFor(depth, depth), 1, orderDepthFor(depth, depth));
  const int value = searchRoot(child, mover, depth, -SCORE_INF, SCORE_INF, context, 0, depth);
  leafCount += context.leafCount;
  return value;
}

// The exact value of the move that led to `child`, for `side`, or a marker.
int moveValue(const Board& child, int side, int depth, EvalFunc evaluate, StopFunc shouldStop,
              std::int64_t& leafCount) {
  const int reply = readToEnd(child, opponentOf(side), depth, evaluate, shouldStop, leafCount);
  if (isMarker(reply)) return reply;
  if (reply != SCORE_NO_MOVE) return -reply;
  // The opponent must pass: the side moves again.
  const int again = readToEnd(child, side, depth, evaluate, shouldStop, leafCount);
  if (again != SCORE_NO_MOVE) return again;
  DiscCounts counts;
  boardCount(child, counts);
  return scoreFinal(counts[side], counts[opponentOf(side)]);
}

}  // namespace

AnalysisResult analyzeEndgame(const Board& board, int side, EvalFunc evaluate, StopFunc shouldStop,
                              SquareValues& values, AnalysisProgressFunc onProgress, void* user) {
  values.fill(SCORE_NONE);
  AnalysisResult result{0, 0};
  DiscCounts counts;
  boardCount(board, counts);
  if (counts[2] >= kAnalysisEmptyLimit) {
    result.last = SCORE_NONE;
    return result;
  }
  const int depth = counts[2] - 1;  // the empty squares after one move
  const int total = boardMobility(board, side);
  int done = 0;
  Board child;
  for (int s = 0; s < kSquareCount; ++s) {
    if (boardPlay(board, child, s, side) <= 1) continue;
    result.last = moveValue(child, side, depth, evaluate, shouldStop, result.leafCount);
    if (isMarker(result.last)) break;
    values[s] = result.last;
    ++done;
    if (onProgress != nullptr) onProgress(values, done, total, user);
  }
  return result;
}

}  // namespace kaimo
