// The worker of a computer move: runs the search of a prepared SearchJob on
// its own thread and posts the square it chose into the exchange. It talks
// to nobody else; in particular it never touches the window.
#pragma once

#include "engine/search/search_driver.h"

namespace kaimo {

// The progress scale of a think job, per whole percent.
constexpr int kProgressPerPercent = kProgressSpan / 100;
// Between changes of the percentage, one progress report in this many
// refreshes the text, keeping the timing fresh without formatting on every
// report.
constexpr int kProgressRefreshOdds = 1000;

// Seeds the draw that picks the refreshing reports (from the time at start-up).
void seedProgressDraw(unsigned seed);

// The worker procedure: search, then postResult. A stop or a failure posts
// move -1; an evaluation failure is flagged for the window thread to show.
void thinkWorker(SearchJob* job);

// The search's progress callback: writes the text "%ld%% %ldKLeaf/sec
// %ldmsec" into status slot 0.
void reportProgress(int progress, SearchContext* context);

}  // namespace kaimo
