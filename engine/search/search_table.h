// The transposition table: a flat array of two-entry buckets, each entry the
// whole position (both masks and the side to move), the bounds of its value
// at one remaining depth, and the move that proved them.
//
// Keys are the full position, so a hit is never another position's value.
// A read to the end has one value whatever depth is left, so such entries
// are stored at the number of empty squares (see tableDepth) and every exact
// read of the position meets them. Entries of another generation count as
// absent: starting a search is one increment, not a clear of the array.
//
// Replacement: an entry of the same position is updated in place; otherwise
// the entry of an older generation goes, else the one of smaller depth.
//
// A table belongs to one search at a time (one thread): whoever starts the
// search owns it, and two searches running at once each have their own.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/board/bitboard.h"
#include "support/memory/large_block.h"

namespace kaimo {

struct TableEntry {
  Bits own;  // discs of the side to move
  Bits opp;
  std::int32_t lower;
  std::int32_t upper;
  std::int8_t depth;
  std::int8_t move;  // the best move found, -1 none
  std::uint8_t side;
  std::uint8_t generation;  // 0: never written
};

// Whether a stored entry settles the window (alpha, beta) by itself: its
// lower bound reaches beta, its upper bound stays at or below alpha, or the
// two bounds meet. `value` is then the bound that settles it.
inline bool entrySettles(const TableEntry& entry, int alpha, int beta, int& value) {
  if (entry.lower >= beta || entry.lower == entry.upper) {
    value = entry.lower;
    return true;
  }
  if (entry.upper <= alpha) {
    value = entry.upper;
    return true;
  }
  return false;
}

// The depth an entry is stored and looked up at: a read that reaches the end
// of the game has one value, whatever the depth beyond the empty squares.
inline int tableDepth(int depth, int empties) { return depth < empties ? depth : empties; }

class SearchTable {
 public:
  // 2^18 buckets of two entries (about 25 MB): enough for a read of 24
  // empty squares, small enough for two of them side by side.
  static constexpr int kDefaultBucketBits = 18;

  SearchTable() : SearchTable(kDefaultBucketBits) {}
  explicit SearchTable(int bucketBits) : bucketBits_(bucketBits) {}
  SearchTable(const SearchTable&) = delete;
  SearchTable& operator=(const SearchTable&) = delete;

  // Forgets every entry (a new generation). The array is allocated on the
  // first call, so an owner that never searches costs nothing. False when
  // the memory cannot be had: the search then runs without a table.
  bool startSearch();
  bool ready() const { return buckets_ != nullptr; }

  // The entry of the position at this depth, or null.
  const TableEntry* find(Bits own, Bits opp, int side, int depth) const {
    const Bucket& bucket = buckets_[indexOf(own, opp)];
    for (const TableEntry& entry : bucket.entries) {
      if (entry.generation == generation_ && entry.own == own && entry.opp == opp && entry.side == side &&
          entry.depth == depth) {
        return &entry;
      }
    }
    return nullptr;
  }

  // The best move stored for the position at any depth, or -1.
  int move(Bits own, Bits opp, int side) const {
    const Bucket& bucket = buckets_[indexOf(own, opp)];
    for (const TableEntry& entry : bucket.entries) {
      if (entry.generation == generation_ && entry.own == own && entry.opp == opp && entry.side == side) {
        return entry.move;
      }
    }
    return -1;
  }

  // Asks for the position's bucket from memory ahead of a look-up: the
  // bucket is rarely in the cache, and the node has other work meanwhile.
  void prefetch(Bits own, Bits opp) const {
    const char* bucket = reinterpret_cast<const char*>(&buckets_[indexOf(own, opp)]);
    __builtin_prefetch(bucket);
    __builtin_prefetch(bucket + sizeof(Bucket) - 1);  // a bucket may cross into the next cache line
  }

  // Stores what a node searched with the window (alpha, beta) found.
  void store(Bits own, Bits opp, int side, int depth, int alpha, int beta, int value, int move);

 private:
  struct Bucket {
    TableEntry entries[2];
  };

  std::size_t indexOf(Bits own, Bits opp) const {
    const auto a = static_cast<std::uint64_t>(own), b = static_cast<std::uint64_t>(own >> 64);
    const auto c = static_cast<std::uint64_t>(opp), d = static_cast<std::uint64_t>(opp >> 64);
    std::uint64_t h = a * 0x9e3779b97f4a7c15ull ^ b * 0xc2b2ae3d27d4eb4full;
    h ^= c * 0x165667b19e3779f9ull ^ d * 0xd6e8feb86659fd93ull;
    h ^= h >> 29;
    return static_cast<std::size_t>(h * 0xbf58476d1ce4e5b9ull >> (64 - bucketBits_));
  }

  int bucketBits_;
  LargeArray<Bucket> buckets_;
  std::uint8_t generation_ = 0;
};

}  // namespace kaimo
