#include "app/controller/think_worker.h"

#include "app/controller/exchange.h"
#include "app/controller/game_texts.h"
#include "app/controller/search_line.h"
#include "engine/eval/score.h"

namespace kaimo {
namespace {

int sidePane(const SearchJob& job) { return job.side + 1; }

// What the search holds: its depth, and the value and line of the last pass
// it finished (of the whole search once it has returned).
void publishLine(const SearchJob& job, bool finished) {
  exchange().publishThinking(thinkingLine(job.context, *job.board, job.side, finished));
}

int searchFullWindow(SearchJob& job) {
  return searchRoot(*job.board, job.side, job.depth, -SCORE_INF, SCORE_INF, job.context, 0, job.progressSpan);
}

// Asks only whether the side wins, draws or loses (a window around 0). A
// proven win or draw plays the move that proved it, with no value to show;
// a loss is searched again with the full window for the best defence.
int searchWinRead(SearchJob& job, int& shownValue) {
  exchange().setStatusText(sidePane(job), texts::kWinRead);
  const int result = searchRoot(*job.board, job.side, job.depth, -1, 1, job.context, 0, job.progressSpan);
  if (isMarker(result) || result == SCORE_NO_MOVE) return result;
  exchange().setStatusText(sidePane(job),
                           result > 0 ? texts::kWinProven : result == 0 ? texts::kDrawProven : texts::kLossProven);
  if (result < 0) return shownValue = searchFullWindow(job);
  shownValue = SCORE_NONE;
  return result;
}

void postOutcome(const SearchJob& job, int result, int shownValue) {
  if (isMarker(result)) {
    if (result == SCORE_EVAL_ERROR) exchange().flagEvalError();
    exchange().postResult(-1, SCORE_NONE);
  } else if (result == SCORE_NO_MOVE) {
    exchange().postResult(-1, SCORE_NONE);
  } else {
    exchange().postResult(job.context.bestMove, shownValue);
  }
}

}  // namespace

void thinkWorker(SearchJob* job) {
  DiscCounts counts;
  boardCount(*job->board, counts);
  const int empties = counts[2];
  int result;
  int shownValue;
  if (empties <= job->depth || empties > job->winDepth) {
    exchange().setStatusText(sidePane(*job), empties <= job->depth ? texts::kExactRead : texts::kNormalRead);
    result = shownValue = searchFullWindow(*job);
  } else {
    result = searchWinRead(*job, shownValue);
  }
  if (!isMarker(result) && result != SCORE_NO_MOVE) publishLine(*job, true);
  postOutcome(*job, result, shownValue);
}

void ThinkProgress::report(int value, const SearchContext& context) {
  const std::int64_t percent = value / kProgressPerPercent;
  if (percent == lastPercentShown_ && draw_() % kProgressRefreshOdds != 0) return;
  std::int64_t elapsed = searchClockMs() - context.startTime;
  if (elapsed == 0) elapsed = 1;
  const std::int64_t rate = (context.leafCount + context.orderCount) / elapsed;
  exchange().setStatusText(0, texts::progressText(percent, rate, elapsed));
  lastPercentShown_ = percent;
  if (&context == &job_.context) publishLine(job_, false);
}

// The depth changes only here; the line and value of the pass before are
// in the table now.
void ThinkProgress::passBegins(const SearchContext& context) {
  if (&context == &job_.context) publishLine(job_, false);
}

}  // namespace kaimo
