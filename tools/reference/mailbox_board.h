// The board written the obvious way: a loop over the direction table with
// bounds tests on a byte board, and perft built on it. The tests compare the
// engine's specialised code against it; the benchmarks time the engine
// against it.
#pragma once

#include <cstdint>
#include <random>

#include "engine/board/board.h"

namespace kaimo::mailbox {

struct Step {
  int dColumn;
  int dRow;
};
inline constexpr Step kSteps[8] = {{-1, -1}, {-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};

inline bool inside(int column, int row) { return column >= 0 && column < 10 && row >= 0 && row < 10; }

// Number of discs the move would flip along one direction.
inline int runFlips(const Board& b, int square, int colour, Step d) {
  int column = square / 10 + d.dColumn;
  int row = square % 10 + d.dRow;
  int passed = 0;
  while (inside(column, row) && b[10 * column + row] == 1 - colour) {
    ++passed;
    column += d.dColumn;
    row += d.dRow;
  }
  if (!inside(column, row) || b[10 * column + row] != colour) return 0;
  return passed;
}

inline int play(const Board& in, Board& out, int square, int colour) {
  if (in[square] != kEmpty) return 1;
  out = in;
  out[square] = static_cast<std::int8_t>(colour);
  int flipped = 0;
  for (Step d : kSteps) {
    const int n = runFlips(in, square, colour, d);
    for (int k = 1; k <= n; ++k) out[square + k * (10 * d.dColumn + d.dRow)] = static_cast<std::int8_t>(colour);
    flipped += n;
  }
  return 1 + flipped;
}

inline int mobility(const Board& b, int colour) {
  int n = 0;
  for (int s = 0; s < 100; ++s) {
    if (b[s] != kEmpty) continue;
    for (Step d : kSteps) {
      if (runFlips(b, s, colour, d) > 0) {
        ++n;
        break;
      }
    }
  }
  return n;
}

inline void count(const Board& b, DiscCounts& counts) {
  counts = {0, 0, 0};
  for (int s = 0; s < 100; ++s) {
    if (b[s] != kWall) ++counts[b[s]];
  }
}

// The same rules as kaimo-cli perft: a pass uses up a ply, a finished game
// is one leaf.
inline std::uint64_t perft(const Board& board, int side, int depth) {
  if (depth == 0) return 1;
  std::uint64_t leaves = 0;
  bool moved = false;
  Board child;
  for (int s = 0; s < 100; ++s) {
    if (play(board, child, s, side) <= 1) continue;
    moved = true;
    leaves += perft(child, 1 - side, depth - 1);
  }
  if (moved) return leaves;
  if (mobility(board, 1 - side) == 0) return 1;
  return perft(board, 1 - side, depth - 1);
}

// A board of random squares: each square black, white or empty, and a wall
// with probability wallPercent / 100.
inline Board randomBoard(std::mt19937& rng, int wallPercent) {
  Board b;
  std::uniform_int_distribution<int> percent(0, 99);
  std::uniform_int_distribution<int> value(0, 2);
  for (auto& square : b) square = static_cast<std::int8_t>(percent(rng) < wallPercent ? kWall : value(rng));
  return b;
}

// A position reached by `plies` random legal moves from the start (passes
// as the game rules give them); stops early if the game ends.
inline Board randomGame(std::mt19937& rng, int plies, int* sideOut = nullptr) {
  Board b;
  int side = boardInit(b);
  for (int ply = 0; ply < plies; ++ply) {
    int moves[100];
    int n = 0;
    Board child;
    for (int s = 0; s < 100; ++s) {
      if (play(b, child, s, side) > 1) moves[n++] = s;
    }
    if (n == 0) {
      if (mobility(b, 1 - side) == 0) break;
      side = 1 - side;
      continue;
    }
    play(b, child, moves[std::uniform_int_distribution<int>(0, n - 1)(rng)], side);
    b = child;
    side = 1 - side;
  }
  if (sideOut) *sideOut = side;
  return b;
}

}  // namespace kaimo::mailbox
