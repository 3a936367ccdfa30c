#include "engine/search/timed_move.h"

#include <algorithm>

#include "engine/eval/score.h"

namespace kaimo {
namespace {

// Before a read to the end, a read this shallow gives the move to play if
// the read to the end does not finish in time; it takes milliseconds.
constexpr int kFallbackPlies = 4;

struct Deepening {
  const Board& board;
  int side;
  const Evaluator& evaluator;
  SearchProgress* progress;
  int threads;
};

// Reads 1, 2, ... plies of `settings` (to their normal depth, never to the
// end); `onDepth` hears each finished read. The driver's result.
template <typename OnDepth>
int deepen(SearchJob& job, const Deepening& d, SideSettings settings, std::stop_token stop, const OnDepth& onDepth) {
  settings.exactDepth = 0;
  settings.winDepth = 0;
  prepareComputerMove(job, d.board, d.side, settings, d.evaluator, std::move(stop), d.progress, d.threads);
  return searchDeepening(d.board, d.side, job.depth, job.context, onDepth);
}

}  // namespace

TimedMove searchTimedMove(SearchJob& job, const Board& board, int side, const SideSettings& settings,
                          const Evaluator& evaluator, const MoveBudget& budget, MicrosClock clock,
                          std::stop_token outer, SearchProgress* progress, int threads) {
  SearchDeadline deadline(clock, budget.hardMs, outer);
  const int empties = boardEmptyCount(board);
  const bool toEnd = budget.readToEnd || settings.readsToEnd(empties);
  const Deepening d{board, side, evaluator, progress, threads};
  TimedMove best{SCORE_NONE, -1, 0, false};

  SideSettings normal = settings;
  if (toEnd) normal.normalDepth = std::min(normal.normalDepth, kFallbackPlies);
  const int deepened = deepen(job, d, normal, deadline.token(), [&](int depth, int value, int move) {
    best = {value, move, depth, depth >= empties};
    if (!toEnd && !deeperReadFits(budget, deadline.elapsedMs())) deadline.stopNow();
  });
  if (deepened == SCORE_NO_MOVE || deepened == SCORE_EVAL_ERROR) return {deepened, -1, 0, false};

  if (toEnd && !deadline.token().stop_requested() && best.depth < empties) {
    SideSettings exact = settings;
    exact.exactDepth = empties;
    prepareComputerMove(job, board, side, exact, evaluator, deadline.token(), progress, threads);
    const int value = searchRoot(board, side, job.depth, -SCORE_INF, SCORE_INF, job.context, 0, job.progressSpan);
    if (value == SCORE_EVAL_ERROR) return {value, -1, 0, false};
    if (!isMarker(value) && value != SCORE_NO_MOVE) best = {value, job.context.bestMove, empties, true};
  }
  if (outer.stop_requested()) return {SCORE_NONE, -1, 0, false};
  if (best.depth == 0) {
    // Not one ply in the time: that ply, untimed, so there is a move.
    normal.normalDepth = 1;
    const int value = deepen(job, d, normal, outer, [&](int depth, int v, int move) { best = {v, move, depth, false}; });
    if (isMarker(value) || value == SCORE_NO_MOVE) return {value, -1, 0, false};
  }
  return best;
}

}  // namespace kaimo
