// The empties list: the empty squares of a position in increasing order,
// ended by -1. A list handed down the tree may still name squares that were
// filled further up; every reader checks the square on its own board.
#pragma once

#include <cstdint>

#include "engine/board/board.h"

namespace kaimo {

// Room for every square and the end mark.
constexpr int kEmptiesCapacity = kSquareCount + 1;
constexpr std::int8_t kEmptiesEnd = -1;

// Every empty square of the board; returns how many.
inline int buildEmpties(const Board& board, std::int8_t* out) {
  int n = 0;
  for (int s = 0; s < kSquareCount; ++s) {
    if (board[s] == kEmpty) out[n++] = static_cast<std::int8_t>(s);
  }
  out[n] = kEmptiesEnd;
  return n;
}

// The squares of `list` that are still empty on the board, in order.
inline int keepEmpty(const Board& board, const std::int8_t* list, std::int8_t* out) {
  int n = 0;
  for (; *list >= 0; ++list) {
    if (board[*list] == kEmpty) out[n++] = *list;
  }
  out[n] = kEmptiesEnd;
  return n;
}

}  // namespace kaimo
