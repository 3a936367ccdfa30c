// The transposition table: a flat array of buckets of one cache line, each
// holding two entries. An entry is the position's fingerprint (128 bits of
// two independent hashes of both masks), the side to move, the bounds of
// its value at one remaining depth, and the move that proved them.
//
// A look-up costs one cache line. The full position (200 bits) does not fit
// twice in a line, so an entry keeps a fingerprint: a hit on another
// position needs two positions with the same two 64-bit hashes and bucket,
// about one chance in 10^28 per look-up.
//
// A read to the end has one value whatever depth is left, so such entries
// are stored at the number of empty squares (see tableDepth) and every exact
// read of the position meets them. Entries of another generation count as
// absent: starting a search is one increment, not a clear of the array, so a
// table is reused from search to search (and analysis to analysis) at no
// cost. A search uses the first 2^bits buckets, as many as its read can
// fill: a short read stays within the cache.
//
// Replacement: an entry of the same position is updated in place; otherwise
// the entry of an older generation goes, else the one of smaller depth.
//
// The threads of one search share the table without a lock. Each entry is
// four 64-bit words written and read one at a time; the two fingerprint
// words are stored xor-ed with the two data words, so an entry that one
// thread read while another wrote it (half old, half new) fails the
// fingerprint check and counts as absent. Updates may be lost in a race; an
// entry that passes the check holds one writer's true bounds, so a lost or a
// mixed update only costs work.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "engine/board/bitboard.h"
#include "support/memory/large_block.h"

namespace kaimo {

// Where a position is looked for, and how it is recognised.
struct TableKey {
  std::uint64_t hash;   // the bucket (high bits) and half the fingerprint
  std::uint64_t check;  // the other half
};

// What an entry says about a position.
struct TableHit {
  int lower;
  int upper;
  int depth;
  int move;  // the best move found, -1 none
};

// Whether an entry of the node's own depth settles the window (alpha,
// beta) by itself: its lower bound reaches beta, its upper bound stays at or
// below alpha, or the two bounds meet. `value` is then the bound that
// settles it.
inline bool entrySettles(const TableHit& hit, int alpha, int beta, int& value) {
  if (hit.lower >= beta || hit.lower == hit.upper) {
    value = hit.lower;
    return true;
  }
  if (hit.upper <= alpha) {
    value = hit.upper;
    return true;
  }
  return false;
}

// The depth an entry is stored and looked up at: a read that reaches the end
// of the game has one value, whatever the depth beyond the empty squares.
inline int tableDepth(int depth, int empties) { return depth < empties ? depth : empties; }

class SearchTable {
 public:
  // 2^19 buckets of 64 bytes (32 MB, a million entries): enough for a read
  // of 24 empty squares; memory is taken only for the buckets a search uses.
  static constexpr int kDefaultBucketBits = 19;

  SearchTable() : SearchTable(kDefaultBucketBits) {}
  explicit SearchTable(int bucketBits) : capacityBits_(bucketBits), bucketBits_(bucketBits) {}
  SearchTable(const SearchTable&) = delete;
  SearchTable& operator=(const SearchTable&) = delete;

  // Forgets every entry (a new generation), all buckets in use. The array
  // is allocated on the first call, so an owner that never searches costs
  // nothing. False when the memory cannot be had: the search then runs
  // without a table.
  bool startSearch();
  bool ready() const { return buckets_ != nullptr; }

  // Uses only the first 2^bucketBits buckets (at most all) from now on:
  // called at the start of a read, before anything is stored.
  void useBuckets(int bucketBits);
  // The buckets a read to the end of this many empty squares uses:
  // 2^(E-3), at least 2^kMinReadBucketBits, up to all of them, and never
  // more than 2^kMaxReadBucketBits (a
  // table made for one read of 30 empty squares would otherwise ask for
  // 128 GB). Analyses of 20 to 22 empty squares on one thread were fastest
  // with 2^17 to 2^18 buckets (8 and 16 MB), 5 to 8 % faster than with 2^21
  // (2^(E+1) before): a fresh table's pages cost more than the few entries
  // a bigger one keeps.
  static constexpr int kMinReadBucketBits = 12;
  static constexpr int kMaxReadBucketBits = 21;
  static int bucketBitsForEmpties(int empties) {
    return std::clamp(empties - 3, kMinReadBucketBits, kMaxReadBucketBits);
  }

  static TableKey keyOf(Bits own, Bits opp) {
    const auto a = static_cast<std::uint64_t>(own), b = static_cast<std::uint64_t>(own >> 64);
    const auto c = static_cast<std::uint64_t>(opp), d = static_cast<std::uint64_t>(opp >> 64);
    // Products folded to 64 bits mix every bit of both factors into every
    // bit of the result; the two hashes pair the words differently.
    const std::uint64_t hash = fold(fold(a ^ 0x9e3779b97f4a7c15ull, b ^ 0xc2b2ae3d27d4eb4full) ^ 0x165667b19e3779f9ull,
                                    fold(c ^ 0xd6e8feb86659fd93ull, d ^ 0xa0761d6478bd642full) ^ 0xe7037ed1a0b428dbull);
    const std::uint64_t check =
        fold(fold(a ^ 0x8ebc6af09c88c6e3ull, c ^ 0x589965cc75374cc3ull) ^ 0x1d8e4e27c47d124full,
             fold(b ^ 0xbf58476d1ce4e5b9ull, d ^ 0x94d049bb133111ebull) ^ 0x2545f4914f6cdd1dull);
    return {hash, check};
  }

  // The entry of the position with `side` to move, at any depth.
  bool probe(const TableKey& key, int side, TableHit& hit) const {
    const Bucket& bucket = buckets_[indexOf(key)];
    for (const Slot& slot : bucket.entries) {
      const Words words = slot.read();
      if (words.matches(key, side, generation_)) {
        hit = words.hit();
        return true;
      }
    }
    return false;
  }

  // The best move stored for the position with `side` to move, at any
  // depth, or -1.
  int move(const TableKey& key, int side) const {
    TableHit hit;
    return probe(key, side, hit) ? hit.move : -1;
  }

  // Asks for the position's bucket from memory ahead of a look-up: the
  // bucket is rarely in the cache, and the node has other work meanwhile.
  void prefetch(const TableKey& key) const { __builtin_prefetch(&buckets_[indexOf(key)]); }

  // Stores what a node searched with the window (alpha, beta) found.
  void store(const TableKey& key, int side, int depth, int alpha, int beta, int value, int move);

 private:
  // The data of an entry as plain values, and its stored form.
  struct Words {
    // The key's halves locked with the data: a slot another thread wrote
    // half of meanwhile fails the match.
    std::uint64_t hashXorBounds;
    std::uint64_t checkXorInfo;
    std::uint64_t bounds;  // lower (low half), upper (high half)
    std::uint64_t info;    // depth, move, side, generation (a byte each)

    static Words of(const TableKey& key, int lower, int upper, int depth, int move, int side, std::uint8_t generation) {
      const std::uint64_t bounds = static_cast<std::uint32_t>(lower) | std::uint64_t{static_cast<std::uint32_t>(upper)}
                                                                           << 32;
      const std::uint64_t info = static_cast<std::uint8_t>(depth) |
                                 std::uint64_t{static_cast<std::uint8_t>(move)} << 8 |
                                 std::uint64_t{static_cast<std::uint8_t>(side)} << 16 | std::uint64_t{generation} << 24;
      return {key.hash ^ bounds, key.check ^ info, bounds, info};
    }
    bool matches(const TableKey& key, int side, std::uint8_t generation) const {
      return (hashXorBounds ^ bounds) == key.hash && (checkXorInfo ^ info) == key.check && this->side() == side &&
             this->generation() == generation;
    }
    int lower() const { return static_cast<std::int32_t>(bounds); }
    int upper() const { return static_cast<std::int32_t>(bounds >> 32); }
    int depth() const { return static_cast<std::int8_t>(info); }
    int move() const { return static_cast<std::int8_t>(info >> 8); }
    int side() const { return static_cast<std::uint8_t>(info >> 16); }
    std::uint8_t generation() const { return static_cast<std::uint8_t>(info >> 24); }
    TableHit hit() const { return {lower(), upper(), depth(), move()}; }
  };

  // One entry: four words, each read and written whole (relaxed atomics:
  // plain moves on x86-64), never as one.
  struct Slot {
    std::uint64_t words[4];

    Words read() const { return {load(words[0]), load(words[1]), load(words[2]), load(words[3])}; }
    void write(const Words& w) {
      save(words[0], w.hashXorBounds);
      save(words[1], w.checkXorInfo);
      save(words[2], w.bounds);
      save(words[3], w.info);
    }
    static std::uint64_t load(const std::uint64_t& word) { return __atomic_load_n(&word, __ATOMIC_RELAXED); }
    static void save(std::uint64_t& word, std::uint64_t value) { __atomic_store_n(&word, value, __ATOMIC_RELAXED); }
  };

  struct alignas(64) Bucket {
    Slot entries[2];
  };
  static_assert(sizeof(Bucket) == 64);

  static std::uint64_t fold(std::uint64_t x, std::uint64_t y) {
    const unsigned __int128 product = static_cast<unsigned __int128>(x) * y;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
  }

  std::size_t indexOf(const TableKey& key) const { return static_cast<std::size_t>(key.hash >> (64 - bucketBits_)); }

  int capacityBits_;
  int bucketBits_;
  int usedBits_ = 0;  // the most buckets any search of this table used: what a wipe must clear
  LargeArray<Bucket> buckets_;
  std::uint8_t generation_ = 0;
};

}  // namespace kaimo
