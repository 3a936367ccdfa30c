// Straight-line code per target square, written once as templates.
//
// For a square S and a direction D the compiler knows how many squares lie
// between S and the edge, so a run is a fixed chain of comparisons at
// constant offsets: no loop, no bounds test and no direction table survive
// into the generated code. Directions that have fewer than two squares before
// the edge cannot capture and produce no code at all.
#pragma once

#include <bit>
#include <utility>

#include "engine/board/board.h"

namespace kaimo::square_code {

struct Direction {
  int step;
  int dColumn;
  int dRow;
};

// In the order the legality test examines them.
inline constexpr Direction kDirections[8] = {
    {-11, -1, -1}, {-10, -1, 0}, {-9, -1, +1}, {-1, 0, -1}, {+1, 0, +1}, {+9, +1, -1}, {+10, +1, 0}, {+11, +1, +1},
};

// Squares that lie beyond `square` in direction `dir` before the edge.
constexpr int runLength(int square, int dir) {
  const Direction d = kDirections[dir];
  int column = columnOf(square) + d.dColumn;
  int row = rowOf(square) + d.dRow;
  int n = 0;
  while (column >= 0 && column < kBoardSize && row >= 0 && row < kBoardSize) {
    ++n;
    column += d.dColumn;
    row += d.dRow;
  }
  return n;
}

// Bit k - 1 set when the k-th square from S along Dir holds `value`,
// for k = 1..runLength: fixed offsets, no branches.
template <int S, int Dir, int... I>
inline unsigned lineBits(const Board& b, int value, std::integer_sequence<int, I...>) {
  constexpr int kStep = kDirections[Dir].step;
  return ((static_cast<unsigned>(b[S + (I + 1) * kStep] == value) << I) | ...);
}

// Discs a move at S would flip along Dir; reads only.
template <int S, int Dir>
inline int capturedRun(const Board& b, int colour, int opponent) {
  constexpr int kLength = runLength(S, Dir);
  constexpr int kStep = kDirections[Dir].step;
  if constexpr (kLength < 2) {
    return 0;
  } else {
    // Most directions end at the first square; only a neighbouring opponent
    // disc is worth reading the whole line for.
    if (b[S + kStep] != opponent) return 0;
    const int run = std::countr_one(lineBits<S, Dir>(b, opponent, std::make_integer_sequence<int, kLength>{}));
    if (run >= kLength || b[S + (run + 1) * kStep] != colour) return 0;
    return run;
  }
}

template <int S, int Dir>
inline int flipDirection(const Board& in, Board& out, int colour, int opponent) {
  constexpr int kStep = kDirections[Dir].step;
  const int run = capturedRun<S, Dir>(in, colour, opponent);
  for (int k = 1; k <= run; ++k) out[S + k * kStep] = static_cast<std::int8_t>(colour);
  return run;
}

// Flips in all directions of S reading `in` and writing `out` (which may be
// the same board: the eight lines through S are disjoint).
template <int S>
inline int flipAll(const Board& in, Board& out, int colour) {
  const int opponent = opponentOf(colour);
  return flipDirection<S, 0>(in, out, colour, opponent) + flipDirection<S, 1>(in, out, colour, opponent) +
         flipDirection<S, 2>(in, out, colour, opponent) + flipDirection<S, 3>(in, out, colour, opponent) +
         flipDirection<S, 4>(in, out, colour, opponent) + flipDirection<S, 5>(in, out, colour, opponent) +
         flipDirection<S, 6>(in, out, colour, opponent) + flipDirection<S, 7>(in, out, colour, opponent);
}

// The discs a move at S would flip in all directions, without writing.
template <int S>
inline int countAll(const Board& b, int colour) {
  const int opponent = opponentOf(colour);
  return capturedRun<S, 0>(b, colour, opponent) + capturedRun<S, 1>(b, colour, opponent) +
         capturedRun<S, 2>(b, colour, opponent) + capturedRun<S, 3>(b, colour, opponent) +
         capturedRun<S, 4>(b, colour, opponent) + capturedRun<S, 5>(b, colour, opponent) +
         capturedRun<S, 6>(b, colour, opponent) + capturedRun<S, 7>(b, colour, opponent);
}

}  // namespace kaimo::square_code
