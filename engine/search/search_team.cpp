#include "engine/search/search_team.h"

#include <algorithm>
#include <system_error>

#include "engine/search/move_loop.h"

namespace kaimo {
namespace {

// Whether `split` lies below `ancestor` in the tree.
bool isBelow(const SplitPoint* split, const SplitPoint* ancestor) {
  for (split = split->parent; split != nullptr; split = split->parent) {
    if (split == ancestor) return true;
  }
  return false;
}

}  // namespace

int defaultSearchThreads() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores >= 2 ? 2 : 1;
}

bool cutAtOrAbove(const SplitPoint* split) {
  for (; split != nullptr; split = split->parent) {
    if (split->cutoff.load(std::memory_order_relaxed)) return true;
  }
  return false;
}

SearchTeam::SearchTeam(SearchThread& master, int threads) : master_(master) {
  const int helpers = std::max(threads - 1, 0);
  helpers_.reserve(helpers);
  for (int i = 0; i < helpers; ++i) {
    helpers_.push_back(SearchThread{.setup = master.setup, .rootEmpty = master.rootEmpty, .team = this});
  }
  master.team = this;
  for (int i = 0; i < helpers; ++i) {
    try {
      threads_.emplace_back([this, i] { helpUntil(helpers_[i], nullptr); });
    } catch (const std::system_error&) {
      break;  // fewer helpers: the search only takes longer
    }
  }
}

SearchTeam::~SearchTeam() {
  {
    std::lock_guard hold(lock_);
    ending_ = true;
  }
  wake_.notify_all();
  for (std::thread& thread : threads_) thread.join();
  for (const SearchThread& helper : helpers_) {
    master_.leafCount += helper.leafCount;
    master_.nodeCount += helper.nodeCount;
    master_.orderCount += helper.orderCount;
    master_.hashCutoffs += helper.hashCutoffs;
  }
  master_.team = nullptr;
}

void SearchTeam::share(SplitPoint& split, SearchThread& thread) {
  split.parent = thread.split;
  splits_.fetch_add(1, std::memory_order_relaxed);
  {
    std::lock_guard hold(lock_);
    offered_.push_back(&split);
  }
  wake_.notify_all();
  work(split, thread, true);
  {
    std::lock_guard hold(lock_);
    offered_.erase(std::find(offered_.begin(), offered_.end(), &split));
  }
  helpUntil(thread, &split);
  // Every helper has left (seen under the team's lock, after their last
  // writes under the split point's): its fields are final.
  int reason = thread.abortReason == kCutAtSplitPoint ? 0 : thread.abortReason;
  if (reason == 0) reason = split.abortReason;
  if (reason == 0 && cutAtOrAbove(split.parent)) reason = kCutAtSplitPoint;
  thread.abortReason = reason;
}

void SearchTeam::work(SplitPoint& split, SearchThread& thread, bool owner) {
  SplitPoint* const outer = thread.split;
  thread.split = &split;
  const MoveOrder& order = *split.order;
  const bool everyMove = split.windows == MoveWindows::Every;
  for (;;) {
    int index, low;
    {
      std::lock_guard hold(split.lock);
      if (split.cutoff.load(std::memory_order_relaxed) || split.next >= order.count) break;
      index = split.next++;
      low = everyMove ? split.alpha : split.loop.low;
    }
    // As the loop alone, from the window the moves before left.
    const int value = principalMoveValue(thread, split.searchMove, index, everyMove, low, split.beta, [&split] {
      std::lock_guard hold(split.lock);
      return split.loop.low;
    });
    int done;
    {
      std::lock_guard hold(split.lock);
      if (thread.abortReason != 0) {
        // A stop or a failed evaluation ends the others' work here too; a
        // cut at or above this point is its owner's to see.
        if (thread.abortReason != kCutAtSplitPoint) {
          if (split.abortReason == 0) split.abortReason = thread.abortReason;
          split.cutoff.store(true, std::memory_order_relaxed);
        }
        break;
      }
      done = ++split.done;
      // Every move of MoveWindows::Every has a window up to SCORE_INF, which
      // no value reaches: none cuts.
      if (split.loop.take(value, order.moves[index].square, split.beta)) {
        split.cutoff.store(true, std::memory_order_relaxed);
      }
    }
    if (owner && split.moveDone) split.moveDone(done);
  }
  thread.split = outer;
  // What ended a helper's work here is in the split point now.
  if (!owner) thread.abortReason = 0;
}

SplitPoint* SearchTeam::joinable(const SplitPoint* waitingAt) {
  for (SplitPoint* split : offered_) {
    if (split->cutoff.load(std::memory_order_relaxed)) continue;
    if (waitingAt != nullptr && !isBelow(split, waitingAt)) continue;
    std::lock_guard hold(split->lock);
    if (split->next < split->order->count) return split;
  }
  return nullptr;
}

void SearchTeam::helpUntil(SearchThread& thread, SplitPoint* waitingAt) {
  std::unique_lock hold(lock_);
  idle_.fetch_add(1, std::memory_order_relaxed);
  for (;;) {
    if (waitingAt != nullptr ? waitingAt->helpers == 0 : ending_) break;
    SplitPoint* split = joinable(waitingAt);
    if (split == nullptr) {
      wake_.wait(hold);
      continue;
    }
    ++split->helpers;
    idle_.fetch_sub(1, std::memory_order_relaxed);
    hold.unlock();
    work(*split, thread, false);
    hold.lock();
    idle_.fetch_add(1, std::memory_order_relaxed);
    if (--split->helpers == 0) wake_.notify_all();
  }
  idle_.fetch_sub(1, std::memory_order_relaxed);
}

}  // namespace kaimo
