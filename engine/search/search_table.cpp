#include "engine/search/search_table.h"

#include <cstdlib>
#include <cstring>

#include "engine/eval/score.h"

namespace kaimo {

bool SearchTable::startSearch() {
  const std::size_t count = std::size_t{1} << bucketBits_;
  if (buckets_ == nullptr) {
    buckets_ = allocateLargeArray<Bucket>(count);
    if (buckets_ == nullptr) return false;
  }
  if (++generation_ == 0) {
    // After 255 searches the stamps come round again: old entries would
    // look current, so this once the array is wiped.
    std::memset(static_cast<void*>(buckets_.get()), 0, count * sizeof(Bucket));
    generation_ = 1;
  }
  return true;
}

void SearchTable::store(Bits own, Bits opp, int side, int depth, int alpha, int beta, int value, int move) {
  Bucket& bucket = buckets_[indexOf(own, opp)];
  TableEntry* slot = nullptr;
  for (TableEntry& entry : bucket.entries) {
    if (entry.generation == generation_ && entry.own == own && entry.opp == opp && entry.side == side) {
      slot = &entry;
      break;
    }
  }
  if (slot == nullptr) {
    TableEntry& first = bucket.entries[0];
    TableEntry& second = bucket.entries[1];
    if (first.generation != generation_) {
      slot = &first;
    } else if (second.generation != generation_) {
      slot = &second;
    } else {
      slot = first.depth <= second.depth ? &first : &second;
    }
    slot->lower = -SCORE_INF;
    slot->upper = SCORE_INF;
    slot->move = -1;
  } else if (slot->depth != depth) {
    // Bounds of another depth say nothing about this one.
    slot->lower = -SCORE_INF;
    slot->upper = SCORE_INF;
  }
  slot->own = own;
  slot->opp = opp;
  slot->side = static_cast<std::uint8_t>(side);
  slot->depth = static_cast<std::int8_t>(depth);
  slot->generation = generation_;
  if (value > alpha && value < beta) {
    slot->lower = slot->upper = value;
  } else if (value >= beta) {
    if (value > slot->lower) slot->lower = value;
  } else if (value < slot->upper) {
    slot->upper = value;
  }
  // A node that failed low proved no move best; the old move stays.
  if (move >= 0 && value > alpha) slot->move = static_cast<std::int8_t>(move);
}

}  // namespace kaimo
