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
// own state (statistics, abort state).
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

#include "engine/search/callable_ref.h"
#include "engine/search/move_order.h"
#include "engine/search/search_context.h"

namespace kaimo {

// The threads the program's own searches use (a computer turn, the
// analysis): the machine's cores, at most two. More would work, but the
// thresholds of the split points were measured on two.
int defaultSearchThreads();

// What the moves of a node searched so far gave.
struct MoveLoop {
  int best;      // the best value (fail-soft); -SCORE_INF before the first move
  int bestMove;  // the move that raised the value above alpha, -1 none
  int low;       // the window's lower end so far

  // Takes the value of the move to `square`; true when it reaches `beta`:
  // the node is cut.
  bool take(int value, int square, int beta) {
    if (value <= best) return false;
    best = value;
    if (value <= low) return false;
    bestMove = square;
    low = value;
    return value >= beta;
  }
};

// How the moves of a node are windowed: by the principal-variation rule,
// or every move with the node's own window and none cut (the root of the
// analysis, which wants the value of each move).
enum class MoveWindows { Principal, Every };

// A node whose remaining moves are shared. It lives on its owner's stack
// until every helper has left.
struct SplitPoint {
  // The search of one move as the owner's loop would make it, with the
  // searching thread's state; the owner's progress report (the owner's
  // thread only).
  using SearchMove = CallableRef<int(SearchThread& thread, int index, int alpha, int beta)>;
  using MoveDone = CallableRef<void(int done)>;

  SplitPoint* parent = nullptr;  // the split point its owner was working for, or null
  const MoveOrder* order = nullptr;
  int beta = 0;
  MoveWindows windows = MoveWindows::Principal;
  SearchMove searchMove;
  MoveDone moveDone;

  std::mutex lock;  // guards the fields below but `helpers` and `cutoff`
  int next = 0;     // the next move to hand out
  int done = 0;     // moves finished
  int alpha = 0;    // the node's own alpha (every move of MoveWindows::Every uses it)
  MoveLoop loop{0, -1, 0};
  int abortReason = 0;              // a stop or a failed evaluation a thread met here
  int helpers = 0;                  // threads other than the owner at work here (under the team's lock)
  std::atomic<bool> cutoff{false};  // a value reached beta, or the search ends: stop below
};

class SearchTeam {
 public:
  // Starts `threads` - 1 helpers (fewer when the system refuses), each
  // building its own state from `master`'s set-up and root, without
  // progress reports. Precondition: `master` is set up for the search (its
  // table, evaluator, stop request, the root's empty squares).
  SearchTeam(SearchThread& master, int threads);
  // Ends the helpers and adds their statistics to the master's.
  ~SearchTeam();
  SearchTeam(const SearchTeam&) = delete;
  SearchTeam& operator=(const SearchTeam&) = delete;

  // Whether a thread would take moves of a new split point now.
  bool hasIdleThread() const { return idle_.load(std::memory_order_relaxed) > 0; }
  // Split points opened so far.
  int splitCount() const { return splits_.load(std::memory_order_relaxed); }

  // Offers the moves of `split` to the idle threads, searches them with
  // `thread` (the owner's) too, and returns once every move is done or
  // cut off and every helper has left; `split`'s loop and abortReason are
  // then final. The owner's thread aborts as the loop's would: with the
  // stop or the failed evaluation any thread met here, or when a split
  // point above was cut off.
  void share(SplitPoint& split, SearchThread& thread);

 private:
  // Takes moves of `split` until none is left or it is cut off.
  void work(SplitPoint& split, SearchThread& thread, bool owner);
  // Helps at offered split points until `waitingAt` has no helper left
  // (null: until the team ends). A thread waiting at a split point only
  // joins split points below it: their work is part of its own.
  void helpUntil(SearchThread& thread, SplitPoint* waitingAt);
  SplitPoint* joinable(const SplitPoint* waitingAt);

  SearchThread& master_;
  std::mutex lock_;  // guards offered_, ending_ and every split point's helpers
  std::condition_variable wake_;
  std::vector<SplitPoint*> offered_;
  bool ending_ = false;
  std::atomic<int> idle_{0};
  std::atomic<int> splits_{0};
  std::vector<SearchThread> helpers_;  // each helper's own state
  std::vector<std::thread> threads_;
};

}  // namespace kaimo
