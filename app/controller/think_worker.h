// A computer move on a Worker: the job searches a copy of the position with
// a table of its own and returns the square it chose. While it searches it
// reports the text of pane 0 ("%ld%% %ldKLeaf/sec %ldmsec"), the kind of
// read in the side's pane and what it thinks (depth, value, line).
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "app/texts/text.h"

#include "app/controller/search_line.h"
#include "app/controller/worker.h"
#include "engine/eval/score.h"
#include "engine/search/move_clock.h"
#include "engine/search/search_driver.h"

namespace kaimo {

// What a computer move needs, copied when it starts.
struct ThinkJob {
  Board board;
  int side;
  SideSettings settings;
  unsigned seed;  // seeds the draw that picks the progress reports that refresh the text
  std::optional<MoveBudget> budget = std::nullopt;  // a move by time, on the wall clock; none: by depth
};

// What the job said since the window thread last looked: each part only
// when it changed.
struct ThinkProgress {
  std::optional<std::string> progressText;  // pane 0, the same in both languages
  std::optional<texts::Wording> sideText;   // the side's pane: the kind of read, a proven result
  std::optional<ThinkingLine> line;
};

struct ThinkResult {
  int move = -1;            // the square to play; -1: none (stopped, failed, or no legal move)
  int value = SCORE_NONE;   // for the side's pane; SCORE_NONE: nothing to show
  bool evalFailed = false;  // the evaluation failed: the window tells the user
};

using ThinkWorker = Worker<ThinkProgress, ThinkResult>;

// The job: the depth rule of the job's settings, then runThink; or with a
// budget, a timed move (timed_move.h) on the wall clock.
ThinkResult think(const ThinkJob& job, std::stop_token stop, ThinkWorker::Exchange& exchange);

// The search of a prepared job: the kind of read in the side's pane, the
// search, and the line it found. A stop or a failure gives no move.
ThinkResult runThink(SearchJob& search, ThinkWorker::Exchange& exchange);

// What the search of `search` holds: its depth, and the value and line of
// the last pass it finished (of the whole search once it has returned).
void reportThinkingLine(const SearchJob& search, bool finished, ThinkWorker::Exchange& exchange);

// The progress scale of a think job, per whole percent.
constexpr int kProgressPerPercent = kProgressSpan / 100;
// Between changes of the percentage, one progress report in this many
// refreshes the text, keeping the timing fresh without formatting on every
// report.
constexpr int kProgressRefreshOdds = 1000;

// The search's progress, as the think job reports it: the text of pane 0,
// and with it what the search of `job` thinks. One object per search.
class ThinkReporter final : public SearchProgress {
 public:
  ThinkReporter(const SearchJob& job, unsigned seed, ThinkWorker::Exchange& exchange)
      : job_(job), draw_(seed), exchange_(exchange) {}
  void report(int value, const SearchContext& context) override;
  void passBegins(const SearchContext& context) override;

 private:
  const SearchJob& job_;
  std::minstd_rand draw_;
  std::int64_t lastPercentShown_ = -1;
  ThinkWorker::Exchange& exchange_;
};

}  // namespace kaimo
