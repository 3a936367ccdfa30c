// The state of one search, split by who owns it:
//   - SearchSetup: what the caller sets up before the search (evaluator,
//     table, stop request, ProbCut, threads, progress); every thread reads
//     it by reference and nobody writes it while the search runs;
//   - RootProgress: how far the root being searched has come, written by
//     the root and the one thread that reports;
//   - SearchThread: what one thread keeps for itself (abort state, split
//     point, stop-poll countdown, counters), built by that thread.
// SearchContext bundles the three for whoever starts a search: its own
// thread searches with context.thread, and the team's helpers build theirs
// from context.setup (see SearchTeam). Whoever starts a search owns what the
// set-up refers to, so two searches can run at once, each with its own
// context and table.
#pragma once

#include <cstdint>
#include <stop_token>

#include "engine/board/bitboard.h"
#include "engine/eval/evaluator.h"
#include "engine/eval/score.h"
#include "engine/search/probcut.h"

namespace kaimo {

class SearchTable;
class SearchTeam;
struct SearchContext;
struct SplitPoint;

// Whoever wants to hear how far a search has come. `value` runs over the
// caller's progress scale and never decreases within a search; the report
// comes from the searching thread.
class SearchProgress {
 public:
  virtual void report(int value, const SearchContext& context) = 0;
  // A pass of the root search begins: context.root.depth is its depth, and
  // the table holds what the shallower passes found. For whoever shows how
  // deep the search has come; nothing by default.
  virtual void passBegins(const SearchContext& /*context*/) {}

 protected:
  ~SearchProgress() = default;
};

// What the caller sets up for one search; read only while it runs.
struct SearchSetup {
  const Evaluator* evaluator = nullptr;  // scores the leaves of a normal read; never null in a prepared context
  // Orders the upper plies of reads to the end (an evaluator that
  // OrdersExactReads, with its data); null: they are ordered from the masks
  // alone.
  const Evaluator* orderer = nullptr;
  std::stop_token stop;                // the caller's stop request; an empty token never stops
  SearchTable* table = nullptr;        // null: no table
  ProbCut probCut{};                   // its table null: every node reads in full
  int threads = 1;                     // how many threads search the tree together (see SearchTeam)
  SearchProgress* progress = nullptr;  // null: no reports
  int progressDepth = 0;               // nodes with at least this depth left report progress
  std::int64_t startTime = 0;          // milliseconds on the steady clock when the search was set up
};

// The root being searched, for the progress reports.
struct RootProgress {
  int depth = 0;
  int base = 0;  // the scale of the root move being searched
  int span = 0;
  int shown = -1;  // the last value reported
};

// The abort state of a thread whose work was cut off at a split point: not
// a score, never returned by the root.
constexpr int kCutAtSplitPoint = 1;

// One thread's own state in a search. Each thread builds its own from the
// shared set-up; the set-up and the root's empty squares stay as they are.
struct SearchThread {
  const SearchSetup* setup = nullptr;
  Bits rootEmpty = 0;  // squares empty at the root: the only ones that can be empty below it
  // The search whose progress this thread reports: its caller's thread;
  // null for the helpers, which never report.
  SearchContext* reportsFor = nullptr;
  // Set once a stop was seen or an evaluation failed (the marker, above
  // SCORE_INF): every node then returns at once, and the root returns the
  // marker. kCutAtSplitPoint: a split point this thread works for was cut
  // off by another thread.
  int abortReason = 0;
  SearchTeam* team = nullptr;       // the team while one runs; null: this thread alone
  SplitPoint* split = nullptr;      // the innermost split point this thread works for
  std::uint32_t pollCountdown = 1;  // the first node asks
  // Statistics. 64-bit: a long exact read passes 2^31 leaves.
  std::int64_t leafCount = 0;    // positions scored: evaluations and final counts
  std::int64_t nodeCount = 0;    // positions searched, leaves included
  std::int64_t orderCount = 0;   // moves scored for ordering
  std::int64_t hashCutoffs = 0;  // nodes answered from the table
};

// One search as its caller holds it. Not copied: the thread refers to the
// set-up beside it.
struct SearchContext {
  SearchSetup setup;
  RootProgress root;
  SearchThread thread;
  int bestMove = -1;  // after the root returns, its choice; -1 none

  SearchContext() { thread.setup = &setup; }
  SearchContext(const SearchContext&) = delete;
  SearchContext& operator=(const SearchContext&) = delete;
};

// True when a split point at or above `split` was cut off (search_team.cpp).
bool cutAtOrAbove(const SplitPoint* split);

// Milliseconds on the steady clock, the time base of startTime.
std::int64_t searchClockMs();

// Asks the stop request about once in this many nodes (of the nodes that
// count: midgame nodes, and solver nodes with a table): a call costs a few
// nanoseconds, and a stop lands within a millisecond even in a sanitizer
// build.
constexpr std::uint32_t kStopPollNodes = 256;

// True once the search must end; polls the caller's request, and the split
// points this thread works for, now and then.
inline bool searchAborted(SearchThread& thread) {
  if (thread.abortReason != 0) return true;
  if (--thread.pollCountdown != 0) return false;
  thread.pollCountdown = kStopPollNodes;
  if (thread.setup->stop.stop_requested()) {
    thread.abortReason = SCORE_NONE;
  } else if (thread.split != nullptr && cutAtOrAbove(thread.split)) {
    thread.abortReason = kCutAtSplitPoint;
  }
  return thread.abortReason != 0;
}

}  // namespace kaimo
