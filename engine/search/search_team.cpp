#include "engine/search/search_team.h"

#include <algorithm>
#include <system_error>

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

SearchTeam::SearchTeam(SearchContext& master, int threads) : master_(master) {
  const int helpers = std::max(threads - 1, 0);
  contexts_.reserve(helpers);
  for (int i = 0; i < helpers; ++i) {
    SearchContext helper = master;
    helper.progress = nullptr;
    helper.abortMarker = 0;
    helper.team = this;
    helper.split = nullptr;
    helper.leafCount = helper.nodeCount = helper.orderCount = helper.hashCutoffs = 0;
    helper.pollCountdown = 1;
    contexts_.push_back(helper);
  }
  master.team = this;
  for (int i = 0; i < helpers; ++i) {
    try {
      threads_.emplace_back([this, i] { helpUntil(contexts_[i], nullptr); });
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
  for (const SearchContext& helper : contexts_) {
    master_.leafCount += helper.leafCount;
    master_.nodeCount += helper.nodeCount;
    master_.orderCount += helper.orderCount;
    master_.hashCutoffs += helper.hashCutoffs;
  }
  master_.team = nullptr;
}

void SearchTeam::share(SplitPoint& split, SearchContext& context) {
  split.parent = context.split;
  splits_.fetch_add(1, std::memory_order_relaxed);
  {
    std::lock_guard hold(lock_);
    offered_.push_back(&split);
  }
  wake_.notify_all();
  work(split, context, true);
  {
    std::lock_guard hold(lock_);
    offered_.erase(std::find(offered_.begin(), offered_.end(), &split));
  }
  helpUntil(context, &split);
  // Every helper has left (seen under the team's lock, after their last
  // writes under the split point's): its fields are final.
  int marker = context.abortMarker == kAbortCut ? 0 : context.abortMarker;
  if (marker == 0) marker = split.abortMarker;
  if (marker == 0 && cutAtOrAbove(split.parent)) marker = kAbortCut;
  context.abortMarker = marker;
}

void SearchTeam::work(SplitPoint& split, SearchContext& context, bool owner) {
  SplitPoint* const outer = context.split;
  context.split = &split;
  const MoveOrder& order = *split.order;
  for (;;) {
    int index, low;
    {
      std::lock_guard hold(split.lock);
      if (split.cutoff.load(std::memory_order_relaxed) || split.next >= order.count) break;
      index = split.next++;
      low = split.everyMove ? split.alpha : split.low;
    }
    int value;
    if (split.everyMove || split.beta - low == 1) {
      value = split.searchMove(split.work, context, index, low, split.beta);
    } else {
      // As the loop alone: a null window, and the window again when the
      // move beats the best so far (which may have risen meanwhile).
      value = split.searchMove(split.work, context, index, low, low + 1);
      if (value > low && value < split.beta && context.abortMarker == 0) {
        int now;
        {
          std::lock_guard hold(split.lock);
          now = split.low;
        }
        if (now < split.beta) value = split.searchMove(split.work, context, index, std::max(low, now), split.beta);
      }
    }
    int done;
    {
      std::lock_guard hold(split.lock);
      if (context.abortMarker != 0) {
        // A stop or a failed evaluation ends the others' work here too; a
        // cut at or above this point is its owner's to see.
        if (context.abortMarker != kAbortCut) {
          if (split.abortMarker == 0) split.abortMarker = context.abortMarker;
          split.cutoff.store(true, std::memory_order_relaxed);
        }
        break;
      }
      done = ++split.done;
      if (value > split.best) {
        split.best = value;
        if (value > split.low) {
          split.bestMove = order.moves[index].square;
          split.low = value;
          if (!split.everyMove && value >= split.beta) split.cutoff.store(true, std::memory_order_relaxed);
        }
      }
    }
    if (owner && split.moveDone != nullptr) split.moveDone(split.report, done);
  }
  context.split = outer;
  // What ended a helper's work here is in the split point now.
  if (!owner) context.abortMarker = 0;
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

void SearchTeam::helpUntil(SearchContext& context, SplitPoint* waitingAt) {
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
    work(*split, context, false);
    hold.lock();
    idle_.fetch_add(1, std::memory_order_relaxed);
    if (--split->helpers == 0) wake_.notify_all();
  }
  idle_.fetch_sub(1, std::memory_order_relaxed);
}

}  // namespace kaimo
