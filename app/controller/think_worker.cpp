#include "app/controller/think_worker.h"

#include "app/controller/game_texts.h"
#include "engine/eval/routines.h"
#include "engine/search/computer_read.h"
#include "engine/search/search_team.h"
#include "engine/search/timed_move.h"

namespace kaimo {
namespace {

void reportSideText(ThinkWorker::Exchange& exchange, const texts::Text& text) {
  exchange.report([&text](ThinkProgress& p) { p.sideText = text; });
}

const texts::Text& readText(ReadKind read) {
  switch (read) {
    case ReadKind::Normal: return texts::kNormalRead;
    case ReadKind::WinLoss: return texts::kWinRead;
    case ReadKind::Exact: break;
  }
  return texts::kExactRead;
}

const texts::Text& verdictText(Verdict verdict) {
  switch (verdict) {
    case Verdict::Win: return texts::kWinProven;
    case Verdict::Draw: return texts::kDrawProven;
    case Verdict::Loss: break;
  }
  return texts::kLossProven;
}

// The kind of read is told when it is known: a read to the end only
// starts when the budget says it fits.
ThinkResult thinkTimed(const ThinkJob& job, std::stop_token stop, ThinkWorker::Exchange& exchange) {
  SearchJob search;
  ThinkReporter reporter(search, job.seed, exchange);
  const bool toEnd = job.budget->readToEnd || job.settings.readsToEnd(boardEmptyCount(job.board));
  reportSideText(exchange, toEnd ? texts::kExactRead : texts::kNormalRead);
  const TimedMove timed =
      searchTimedMove(search, job.board, job.side, job.settings, routineEvaluator(job.settings.routine), *job.budget,
                      steadyMicros, std::move(stop), &reporter, defaultSearchThreads());
  if (isMarker(timed.value)) return ThinkResult{-1, SCORE_NONE, timed.value == SCORE_EVAL_ERROR};
  if (timed.value == SCORE_NO_MOVE) return ThinkResult{};
  reportThinkingLine(search, true, exchange);
  return ThinkResult{timed.move, timed.value, false};
}

}  // namespace

ThinkResult think(const ThinkJob& job, std::stop_token stop, ThinkWorker::Exchange& exchange) {
  if (job.budget) return thinkTimed(job, std::move(stop), exchange);
  SearchJob search;
  ThinkReporter reporter(search, job.seed, exchange);
  prepareComputerMove(search, job.board, job.side, job.settings, std::move(stop), &reporter, defaultSearchThreads());
  return runThink(search, exchange);
}

ThinkResult runThink(SearchJob& search, ThinkWorker::Exchange& exchange) {
  reportSideText(exchange, readText(search.read));
  const ComputerRead read =
      readComputerMove(search, [&exchange](Verdict verdict) { reportSideText(exchange, verdictText(verdict)); });
  if (isMarker(read.value)) return ThinkResult{-1, SCORE_NONE, read.value == SCORE_EVAL_ERROR};
  if (read.value == SCORE_NO_MOVE) return ThinkResult{};
  reportThinkingLine(search, true, exchange);
  // A proven win or draw leaves its verdict in the side's pane: the value
  // of a win is only a bound. A loss shows its margin like any read.
  const bool keepsVerdict = read.verdict && *read.verdict != Verdict::Loss;
  return ThinkResult{search.context.bestMove, keepsVerdict ? SCORE_NONE : read.value, false};
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
