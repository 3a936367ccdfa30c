// The record shared by all nodes of one search. Whoever starts a search owns
// what it refers to (the table, the evaluation, the stop request), so two
// searches can run at once, each with its own context and table.
#pragma once

#include <cstdint>
#include <stop_token>

#include "engine/board/bitboard.h"
#include "engine/eval/evaluator.h"
#include "engine/eval/score.h"
#include "engine/search/probcut.h"

namespace kaimo {

class SearchTable;
struct SearchContext;

// Whoever wants to hear how far a search has come. `value` runs over the
// caller's progress scale and never decreases within a search; the report
// comes from the searching thread.
class SearchProgress {
 public:
  virtual void report(int value, const SearchContext& context) = 0;
  // A pass of the root search begins: context.rootDepth is its depth, and
  // the table holds what the shallower passes found. For whoever shows how
  // deep the search has come; nothing by default.
  virtual void passBegins(const SearchContext& /*context*/) {}

 protected:
  ~SearchProgress() = default;
};

struct SearchContext {
  const Evaluator* evaluator;  // scores the leaves of a normal read; never null in a prepared context
  std::stop_token stop;        // the caller's stop request; an empty token never stops
  SearchProgress* progress;    // null: no reports
  int progressDepth;       // nodes with at least this depth left report progress
  SearchTable* table;      // null: no table
  ProbCut probCut;         // its table null: every node reads in full
  int bestMove;            // after the root returns, its choice; -1 none
  // Set once a stop was seen or an evaluation failed (the marker): every node
  // then returns at once, and the root returns the marker.
  int abortMarker;
  // Statistics. 64-bit: a long exact read passes 2^31 leaves.
  std::int64_t leafCount;   // positions scored: evaluations and final counts
  std::int64_t nodeCount;   // positions searched, leaves included
  std::int64_t orderCount;  // moves scored for ordering
  std::int64_t hashCutoffs; // nodes answered from the table
  std::int64_t startTime;   // milliseconds on the steady clock when the search was set up
  // The search in progress (filled by the root).
  Bits rootEmpty;           // squares empty at the root: the only ones that can be empty below it
  int rootDepth;
  int progressBase;         // the scale of the move being searched at the root
  int progressSpan;
  int progressShown;        // the last value reported
  std::uint32_t pollCountdown;
};

// Milliseconds on the steady clock, the time base of startTime.
std::int64_t searchClockMs();

// Asks the stop request about once in this many nodes (of the nodes that
// count: midgame nodes, and solver nodes with a table): a call costs a few
// nanoseconds, and a stop lands within a millisecond even in a sanitizer
// build.
constexpr std::uint32_t kStopPollNodes = 256;

// True once the search must end; polls the caller's request now and then.
inline bool searchAborted(SearchContext& context) {
  if (context.abortMarker != 0) return true;
  if (--context.pollCountdown != 0) return false;
  context.pollCountdown = kStopPollNodes;
  if (context.stop.stop_requested()) context.abortMarker = SCORE_NONE;
  return context.abortMarker != 0;
}

}  // namespace kaimo
