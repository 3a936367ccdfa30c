#include "app/controller/think_worker.h"

#include "app/controller/game_texts.h"
#include "engine/search/search_team.h"

namespace kaimo {
namespace {

void reportSideText(ThinkWorker::Exchange& exchange, const texts::Text& text) {
  exchange.report([&text](ThinkProgress& p) { p.sideText = text; });
}

int searchFullWindow(SearchJob& job) {
  return searchRoot(*job.board, job.side, job.depth, -SCORE_INF, SCORE_INF, job.context, 0, job.progressSpan);
}

// Asks only whether the side wins, draws or loses (a window around 0). A
// proven win or draw plays the move that proved it, with no value to show;
// a loss is searched again with the full window for the best defence.
int searchWinRead(SearchJob& job, int& shownValue, ThinkWorker::Exchange& exchange) {
  reportSideText(exchange, texts::kWinRead);
  const int result = searchRoot(*job.board, job.side, job.depth, -1, 1, job.context, 0, job.progressSpan);
  if (isMarker(result) || result == SCORE_NO_MOVE) return result;
  reportSideText(exchange, result > 0 ? texts::kWinProven : result == 0 ? texts::kDrawProven : texts::kLossProven);
  if (result < 0) return shownValue = searchFullWindow(job);
  shownValue = SCORE_NONE;
  return result;
}

}  // namespace

ThinkResult think(const ThinkJob& job, std::stop_token stop, ThinkWorker::Exchange& exchange) {
  SearchJob search;
  ThinkReporter reporter(search, job.seed, exchange);
  prepareComputerMove(search, job.board, job.side, job.settings, std::move(stop), &reporter, defaultSearchThreads());
  return runThink(search, exchange);
}

ThinkResult runThink(SearchJob& search, ThinkWorker::Exchange& exchange) {
  const int empties = boardEmptyCount(*search.board);
  int result;
  int shownValue;
  if (empties <= search.depth || empties > search.winDepth) {
    reportSideText(exchange, empties <= search.depth ? texts::kExactRead : texts::kNormalRead);
    result = shownValue = searchFullWindow(search);
  } else {
    result = searchWinRead(search, shownValue, exchange);
  }
  if (isMarker(result)) return ThinkResult{-1, SCORE_NONE, result == SCORE_EVAL_ERROR};
  if (result == SCORE_NO_MOVE) return ThinkResult{};
  reportThinkingLine(search, true, exchange);
  return ThinkResult{search.context.bestMove, shownValue, false};
}

void ThinkReporter::report(int value, const SearchContext& context) {
  const std::int64_t percent = value / kProgressPerPercent;
  if (percent == lastPercentShown_ && draw_() % kProgressRefreshOdds != 0) return;
  std::int64_t elapsed = searchClockMs() - context.setup.startTime;
  if (elapsed == 0) elapsed = 1;
  const std::int64_t rate = (context.thread.leafCount + context.thread.orderCount) / elapsed;
  std::string text = texts::progressText(percent, rate, elapsed);
  exchange_.report([&text](ThinkProgress& p) { p.progressText = std::move(text); });
  lastPercentShown_ = percent;
  if (&context == &job_.context) reportThinkingLine(job_, false, exchange_);
}

// The depth changes only here; the line and value of the pass before are
// in the table now.
void ThinkReporter::passBegins(const SearchContext& context) {
  if (&context == &job_.context) reportThinkingLine(job_, false, exchange_);
}

void reportThinkingLine(const SearchJob& search, bool finished, ThinkWorker::Exchange& exchange) {
  ThinkingLine line = thinkingLine(search.context, *search.board, search.side, finished);
  exchange.report([&line](ThinkProgress& p) { p.line = std::move(line); });
}

}  // namespace kaimo
