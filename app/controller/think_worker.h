// The worker of a computer move: runs the search of a prepared SearchJob on
// its own thread and posts the square it chose into the exchange. It talks
// to nobody else; in particular it never touches the window.
#pragma once

#include <cstdint>
#include <random>

#include "engine/search/search_driver.h"

namespace kaimo {

// The progress scale of a think job, per whole percent.
constexpr int kProgressPerPercent = kProgressSpan / 100;
// Between changes of the percentage, one progress report in this many
// refreshes the text, keeping the timing fresh without formatting on every
// report.
constexpr int kProgressRefreshOdds = 1000;

// The worker procedure: search, then postResult. A stop or a failure posts
// move -1; an evaluation failure is flagged for the window thread to show.
void thinkWorker(SearchJob* job);

// The think jobs' progress: writes the text "%ld%% %ldKLeaf/sec %ldmsec"
// into status slot 0, and with it what the search of `job` thinks (depth,
// value, line) into the exchange. One object serves every search of a game
// controller's job, one search at a time; the percentage last shown carries
// over.
class ThinkProgress final : public SearchProgress {
 public:
  // `seed` seeds the draw that picks the refreshing reports.
  ThinkProgress(const SearchJob& job, unsigned seed) : job_(job), draw_(seed) {}
  void report(int value, const SearchContext& context) override;
  void passBegins(const SearchContext& context) override;

 private:
  const SearchJob& job_;
  std::minstd_rand draw_;
  std::int64_t lastPercentShown_ = -1;
};

}  // namespace kaimo
