// The transposition table's entries and the callbacks that make a kr_map of
// them. The process-wide table itself is handed out by the search driver.
#pragma once

#include "engine/eval/score.h"
#include "engine/search/search_context.h"

namespace kaimo {

// Buckets of the transposition table: a prime a little below the entry cap.
constexpr int kTableBuckets = 200003;
// Entries created per fill of the table before it stops growing: with
// 200003 buckets, chains stay about one or two entries long up to this load.
constexpr int kTableEntryCap = 300000;

int tableHash(const void* key, int bucketCount);
int tableMatch(const void* leaf, const void* key);
void tableSetLink(void* leaf, void* next);
void* tableGetLink(const void* leaf);
void tableFree(void* leaf);

// A new entry knows nothing: the widest bounds, no tried squares. The chain
// link is the table's and is left alone.
inline void initEntry(TableEntry& entry, const PositionKey& key) {
  entry.lower = -SCORE_INF;
  entry.upper = SCORE_INF;
  entry.middle = 0;
  entry.resume = 0;
  for (auto& word : entry.tried) word = 0;
  entry.key = key;
}

inline bool isTried(const TableEntry& entry, int square) { return (entry.tried[square >> 4] >> (square & 15)) & 1; }
inline void markTried(TableEntry& entry, int square) {
  entry.tried[square >> 4] = static_cast<std::uint16_t>(entry.tried[square >> 4] | (1u << (square & 15)));
}

}  // namespace kaimo
