// A small opening book for tests: every position within a few plies of the
// initial position, each valued by a fixed function of its key, so the
// values differ from move to move without any search.
#pragma once

#include <algorithm>
#include <set>
#include <vector>

#include "engine/book/book_choice.h"
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
  for (const BookKey& key : keys)
    entries.push_back({key, smallBookValue(key), smallBookValue(key), smallBookValue(key), 4});
  return entries;
}

// smallBook(2) with the moves of the position after the first move
// (`board`, `side`: white to move) valued afresh: the first of them best, the
// second exactly kBookMargin below it, the third a hundredth further, the
// rest far below.
inline std::vector<BookEntry> bookAtTheMargin(Board& board, int& side) {
  side = boardInit(board);
  boardPlayInPlace(board, bookStepsOf(board, side).front().square, side);
  side = opponentOf(side);
  std::vector<BookEntry> entries = smallBook(2);
  const std::vector<BookStep> steps = bookStepsOf(board, side);
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const int moveValue = i == 0 ? 300 : i == 1 ? 300 - kBookMargin : i == 2 ? 300 - kBookMargin - 1 : -3000;
    for (BookEntry& e : entries) {
      if (e.key == steps[i].key) e.value = static_cast<std::int16_t>(-moveValue);
    }
  }
  return entries;
}

}  // namespace kaimo::testing
