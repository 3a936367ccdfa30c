#include "engine/board/last_flips.h"

#include <array>
#include <cstdint>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace kaimo {
namespace {

constexpr int kLineLength = kBoardSize;
constexpr int kPatterns = 1 << kLineLength;

// One of a square's four lines: its squares in each 64-bit half of a mask
// (pext keeps them in square order, low half first), and where the square
// is among them.
struct Line {
  std::uint64_t low;
  std::uint64_t high;
  std::uint8_t lowCount;  // the line's squares in the low half
  std::uint8_t position;  // the square's place on the line, from its lowest square
};

using SquareLines = std::array<std::array<Line, 4>, kSquareCount>;

constexpr SquareLines makeSquareLines() {
  // Row, column and the two diagonals, each as a step of column and row.
  constexpr int kColumnStep[4] = {1, 0, 1, 1};
  constexpr int kRowStep[4] = {0, 1, 1, -1};
  SquareLines lines{};
  for (int s = 0; s < kSquareCount; ++s) {
    for (int l = 0; l < 4; ++l) {
      // Back to the line's first square, then along it.
      int column = columnOf(s), row = rowOf(s);
      while (column - kColumnStep[l] >= 0 && row - kRowStep[l] >= 0 && row - kRowStep[l] < kBoardSize) {
        column -= kColumnStep[l];
        row -= kRowStep[l];
      }
      Bits mask = 0;
      int position = 0;
      for (; column < kBoardSize && row >= 0 && row < kBoardSize; column += kColumnStep[l], row += kRowStep[l]) {
        const int square = squareAt(column, row);
        if (square < s) ++position;
        mask |= Bits{1} << square;
      }
      const auto low = static_cast<std::uint64_t>(mask);
      int lowCount = 0;
      for (std::uint64_t b = low; b != 0; b &= b - 1) ++lowCount;
      lines[s][l] = {low, static_cast<std::uint64_t>(mask >> 64), static_cast<std::uint8_t>(lowCount),
                     static_cast<std::uint8_t>(position)};
    }
  }
  return lines;
}

constexpr SquareLines kSquareLines = makeSquareLines();

// Discs turned over on a full line by the side whose discs are `pattern`
// playing at `position`: the run on each side up to that side's next disc.
// Places past the line's end read as the opponent's with no disc of the
// side beyond them, so they never end a run: one table serves every length.
using LineCounts = std::array<std::array<std::uint8_t, kPatterns>, kLineLength>;

constexpr LineCounts makeLineCounts() {
  LineCounts counts{};
  for (int position = 0; position < kLineLength; ++position) {
    for (int pattern = 0; pattern < kPatterns; ++pattern) {
      int total = 0;
      for (const int step : {-1, +1}) {
        int i = position + step, run = 0;
        while (i >= 0 && i < kLineLength && (pattern >> i & 1) == 0) {
          ++run;
          i += step;
        }
        if (i >= 0 && i < kLineLength) total += run;
      }
      counts[position][pattern] = static_cast<std::uint8_t>(total);
    }
  }
  return counts;
}

constexpr LineCounts kLineCounts = makeLineCounts();

}  // namespace

#if defined(__x86_64__)

bool lastFlipCountRunnable() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("bmi2") && !__builtin_cpu_is("znver1") && !__builtin_cpu_is("znver2");
}

__attribute__((target("bmi2"))) int lastFlipCount(Bits own, int square) {
  const auto low = static_cast<std::uint64_t>(own), high = static_cast<std::uint64_t>(own >> 64);
  int total = 0;
  for (const Line& line : kSquareLines[square]) {
    const std::uint64_t pattern = _pext_u64(low, line.low) | _pext_u64(high, line.high) << line.lowCount;
    total += kLineCounts[line.position][pattern];
  }
  return total;
}

#else

bool lastFlipCountRunnable() { return false; }

int lastFlipCount(Bits, int) { return 0; }

#endif

}  // namespace kaimo
