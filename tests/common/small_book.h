// A small opening book for tests: every position within a few plies of the
// initial position, each valued by a fixed function of its key, so the
// values differ from move to move without any search.
#pragma once

#include <algorithm>
#include <set>
#include <vector>

#include "engine/book/opening_book.h"

namespace kaimo::testing {

// Hundredths of a disc between -300 and +300, the same for the same key.
inline std::int16_t smallBookValue(const BookKey& key) {
  const auto mix = static_cast<std::uint64_t>(key.mover * 0x9e3779b97f4a7c15ull ^ key.opponent);
  return static_cast<std::int16_t>(static_cast<int>((mix ^ (mix >> 29)) % 601) - 300);
}

inline std::vector<BookEntry> smallBook(int plies) {
  Board initial;
  const int side = boardInit(initial);
  std::set<BookKey> keys{*bookKeyOf(initial, side)};
  std::vector<BookKey> layer(keys.begin(), keys.end());
  for (int ply = 0; ply < plies; ++ply) {
    std::vector<BookKey> next;
    for (const BookKey& key : layer) {
      for (const BookStep& step : bookStepsOf(boardOfKey(key), kBlack)) {
        if (step.next != BookStep::Next::End && keys.insert(step.key).second) next.push_back(step.key);
      }
    }
    layer = next;
  }
  std::vector<BookEntry> entries;
  for (const BookKey& key : keys) entries.push_back({key, smallBookValue(key), smallBookValue(key), smallBookValue(key), 4});
  return entries;
}

}  // namespace kaimo::testing
