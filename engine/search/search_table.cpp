#include "engine/search/search_table.h"

#include <algorithm>
#include <cstring>

#include "engine/eval/score.h"

namespace kaimo {

bool SearchTable::startSearch() {
  if (buckets_ == nullptr) {
    buckets_ = allocateLargeArray<Bucket>(std::size_t{1} << capacityBits_);
    if (buckets_ == nullptr) return false;
  }
  useBuckets(capacityBits_);
  if (++generation_ == 0) {
    // After 255 searches the stamps come round again: old entries would
    // look current, so this once the buckets ever used are wiped.
    std::memset(static_cast<void*>(buckets_.get()), 0, (std::size_t{1} << usedBits_) * sizeof(Bucket));
    generation_ = 1;
  }
  return true;
}

void SearchTable::useBuckets(int bucketBits) {
  bucketBits_ = std::clamp(bucketBits, 1, capacityBits_);
  usedBits_ = std::max(usedBits_, bucketBits_);
}

void SearchTable::store(const TableKey& key, int side, int depth, int alpha, int beta, int value, int move) {
  Bucket& bucket = buckets_[indexOf(key)];
  const Words first = bucket.entries[0].read(), second = bucket.entries[1].read();
  Slot* slot;
  int lower = -SCORE_INF, upper = SCORE_INF, best = -1;
  if (first.matches(key, side, generation_) || second.matches(key, side, generation_)) {
    const Words& old = first.matches(key, side, generation_) ? first : second;
    slot = &bucket.entries[&old == &first ? 0 : 1];
    best = old.move();
    // Bounds of another depth say nothing about this one.
    if (old.depth() == depth) {
      lower = old.lower();
      upper = old.upper();
    }
  } else if (first.generation() != generation_) {
    slot = &bucket.entries[0];
  } else if (second.generation() != generation_) {
    slot = &bucket.entries[1];
  } else {
    slot = &bucket.entries[first.depth() <= second.depth() ? 0 : 1];
  }
  if (value > alpha && value < beta) {
    lower = upper = value;
  } else if (value >= beta) {
    lower = std::max(lower, value);
  } else {
    upper = std::min(upper, value);
  }
  // A node that failed low proved no move best; the old move stays.
  if (move >= 0 && value > alpha) best = move;
  slot->write(Words::of(key, lower, upper, depth, best, side, generation_));
}

}  // namespace kaimo
