// Two threads (or more) in one search tree, by young brothers wait: a node
// deep enough searches its first move alone; when a thread of the team is
// idle after that, the node becomes a split point. Its other moves are then
// handed out one at a time to its own thread and to the idle ones, each
// searched with the window the moves before it left (a null window first,
// as the loop alone would); the values meet under the split point's lock,
// and a value at or above beta stops every thread still searching below
// it. The node's thread waits until the others have left, and meanwhile
// helps at split points opened below its own. The threads share the
// table (lock-free, see SearchTable) and the stop request; each keeps its
// own context (statistics, abort state).
//
// The value of a node does not depend on who searched which move: it is
// the best of its moves' values, each exact or a bound that cannot change
// the result, as in the one-thread loop. Which move is reported among
// moves of equal value, and how many nodes were searched, can change from
// run to run.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/search/move_order.h"
#include "engine/search/search_context.h"

namespace kaimo {

// The threads the program's own searches use (a computer turn, the
// analysis): the machine's cores, at most two. More would work, but the
// thresholds of the split points were measured on two.
int defaultSearchThreads();

// A node whose remaining moves are shared. It lives on its owner's stack
// until every helper has left.
struct SplitPoint {
  // The search of one move: `searchMove(work, context, index, alpha,
  // beta)` as the owner's loop would call it, with the caller's context;
  // `moveDone(report, done)` the owner's progress report (the owner's
  // thread only).
  using SearchMoveFn = int (*)(const void* work, SearchContext& context, int index, int alpha, int beta);
  using MoveDoneFn = void (*)(const void* report, int done);

  SplitPoint* parent = nullptr;  // the split point its owner was working for, or null
  const MoveOrder* order = nullptr;
  int beta = 0;
  // Every move searched with the node's window (alpha, beta) and none cut:
  // the root of the analysis, which wants the value of each move.
  bool everyMove = false;
  SearchMoveFn searchMove = nullptr;
  const void* work = nullptr;
  MoveDoneFn moveDone = nullptr;
  const void* report = nullptr;

  std::mutex lock;  // guards the fields below but `helpers` and `cutoff`
  int next = 0;     // the next move to hand out
  int done = 0;     // moves finished
  int alpha = 0;    // the node's own alpha (every move of an everyMove point uses it)
  int best = 0;
  int bestMove = -1;
  int low = 0;          // the window's lower end so far
  int abortMarker = 0;  // a stop or a failed evaluation a thread met here
  int helpers = 0;      // threads other than the owner at work here (under the team's lock)
  std::atomic<bool> cutoff{false};  // a value reached beta, or the search ends: stop below
};

class SearchTeam {
 public:
  // Starts `threads` - 1 helpers (fewer when the system refuses), each
  // searching with a copy of `master` without progress reports.
  // Precondition: `master` is set up for the search (its table, evaluator,
  // stop request, empty squares).
  SearchTeam(SearchContext& master, int threads);
  // Ends the helpers and adds their statistics to the master's.
  ~SearchTeam();
  SearchTeam(const SearchTeam&) = delete;
  SearchTeam& operator=(const SearchTeam&) = delete;

  // Whether a thread would take moves of a new split point now.
  bool hasIdleThread() const { return idle_.load(std::memory_order_relaxed) > 0; }
  // Split points opened so far.
  int splitCount() const { return splits_.load(std::memory_order_relaxed); }

  // Offers the moves of `split` to the idle threads, searches them with
  // `context` (the owner's) too, and returns once every move is done or
  // cut off and every helper has left; `split`'s best, bestMove and
  // abortMarker are then final. The owner's context aborts as the loop's
  // would: with the stop or the failed evaluation any thread met here, or
  // when a split point above was cut off.
  void share(SplitPoint& split, SearchContext& context);

 private:
  // Takes moves of `split` until none is left or it is cut off.
  void work(SplitPoint& split, SearchContext& context, bool owner);
  // Helps at offered split points until `waitingAt` has no helper left
  // (null: until the team ends). A thread waiting at a split point only
  // joins split points below it: their work is part of its own.
  void helpUntil(SearchContext& context, SplitPoint* waitingAt);
  SplitPoint* joinable(const SplitPoint* waitingAt);

  SearchContext& master_;
  std::mutex lock_;  // guards offered_, ending_ and every split point's helpers
  std::condition_variable wake_;
  std::vector<SplitPoint*> offered_;
  bool ending_ = false;
  std::atomic<int> idle_{0};
  std::atomic<int> splits_{0};
  std::vector<SearchContext> contexts_;  // one per helper
  std::vector<std::thread> threads_;
};

}  // namespace kaimo
