// The network of "狐" computed the straightforward way, from the pattern
// squares and symmetry formulas written out again here, with the plain board
// code for counts and mobility and the exponential instead of the sigmoid
// table. The evaluator must agree with it to the exact value.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/eval/pattern_layout.h"
#include "tests/common/plain_board.h"
#include "tools/reference/pattern_sample_data.h"

namespace kaimo::reference {

struct Pattern {
  int kind;
  int instances;
  std::vector<int> squares;
};

inline const std::vector<Pattern> kPatterns = {
    {4, 4, {30, 21, 12, 3}},
    {4, 4, {40, 31, 22, 13, 4}},
    {4, 4, {50, 41, 32, 23, 14, 5}},
    {4, 4, {60, 51, 42, 33, 24, 15, 6}},
    {4, 4, {70, 61, 52, 43, 34, 25, 16, 7}},
    {4, 4, {80, 71, 62, 53, 44, 35, 26, 17, 8}},
    {4, 2, {90, 81, 72, 63, 54, 45, 36, 27, 18, 9}},
    {4, 4, {1, 11, 21, 31, 41, 51, 61, 71, 81, 91}},
    {4, 4, {2, 12, 22, 32, 42, 52, 62, 72, 82, 92}},
    {4, 4, {3, 13, 23, 33, 43, 53, 63, 73, 83, 93}},
    {4, 4, {4, 14, 24, 34, 44, 54, 64, 74, 84, 94}},
    {6, 4, {0, 11, 81, 90, 10, 20, 30, 40, 50, 60, 70, 80}},
    {1, 8, {0, 1, 2, 3, 4, 10, 11, 12, 13, 14}},
    {3, 4, {0, 1, 2, 10, 11, 12, 20, 21, 22}},
};

inline int image(int map, int square) {
  const int c = square / 10;
  const int r = square % 10;
  switch (map) {
    case 0: return 10 * c + r;
    case 1: return 10 * r + (9 - c);
    case 2: return 10 * (9 - c) + (9 - r);
    case 3: return 10 * (9 - r) + c;
    case 4: return 10 * r + c;
    case 5: return 10 * c + (9 - r);
    case 6: return 10 * (9 - r) + (9 - c);
    default: return 10 * (9 - c) + r;
  }
}

// A wall reads as an empty square.
inline int digit(const Board& b, int square) { return b[square] == kWall ? 2 : b[square]; }

inline int base3(const Board& b, const std::vector<int>& squares, int map) {
  int value = 0;
  for (int s : squares) value = 3 * value + digit(b, image(map, s));
  return value;
}

// The index tables as the test wrote them, and the rows they give.
struct Tables {
  std::vector<IndexTable> tables;  // one per pattern; empty for kinds 1 and 3
  std::vector<long> offsets;

  Tables() : tables(kPatterns.size()) {
    long total = 6;
    for (std::size_t p = 0; p < kPatterns.size(); ++p) {
      offsets.push_back(total);
      const Pattern& pattern = kPatterns[p];
      const int n = static_cast<int>(pattern.squares.size());
      if (pattern.kind == 4) tables[p] = buildLineClasses(n, false);
      if (pattern.kind == 6) tables[p] = buildLineClasses(n - 4, true);
      if (pattern.kind == 4) total += tables[p].classCount;
      if (pattern.kind == 6) total += tables[p].classCount * 81L;
      if (pattern.kind == 1 || pattern.kind == 3) total += std::lround(std::pow(3.0, n));
    }
    offsets.push_back(total);  // jMax
  }
  long rowCount() const { return offsets.back(); }
};

inline int index(const Board& b, const Tables& t, int p, int j) {
  const Pattern& pattern = kPatterns[p];
  switch (pattern.kind) {
    case 1: return base3(b, pattern.squares, j);
    case 3: return std::min(base3(b, pattern.squares, j), base3(b, pattern.squares, j + 4));
    case 4: return t.tables[p].entries[base3(b, pattern.squares, j)] & 0x7fff;
    default: {
      const std::vector<int> edge(pattern.squares.begin() + 4, pattern.squares.end());
      const int entry = t.tables[p].entries[base3(b, edge, j)];
      int i = entry & 0x7fff;
      const int order[2][4] = {{0, 1, 2, 3}, {3, 2, 1, 0}};
      for (int k : order[(entry & 0x8000) ? 1 : 0]) i = 3 * i + digit(b, image(j, pattern.squares[k]));
      return i;
    }
  }
}

inline int sigmoid(int t) { return static_cast<int>(4096.0 / (1.0 + std::exp(-t / 4096.0))); }

inline int outputScore(int a) {
  const float y = static_cast<float>(4096.0 / (1.0 + std::exp(-a / 32768.0)));
  return static_cast<int>(static_cast<double>(y) * 48.828125 - 100000);
}

inline int score(const Board& b, int side, const Tables& t, const testing::StageData& w) {
  DiscCounts counts;
  plain::count(b, counts);
  auto sign = [&](int s) { return b[s] == kBlack ? 1 : b[s] == kWhite ? -1 : 0; };
  const int parity = counts[2] % 2;
  const int features[6] = {plain::mobility(b, kBlack) - plain::mobility(b, kWhite),
                           side == kWhite ? -parity : parity,
                           sign(0) + sign(9) + sign(90) + sign(99),
                           sign(11) + sign(18) + sign(81) + sign(88),
                           counts[0] - counts[1],
                           8};
  auto weight = [&](long row, int h) { return static_cast<int>(w.weights[4 * row + h]); };
  int hidden[4];
  for (int h = 0; h < 4; ++h) {
    int sum = 0;
    for (int i = 0; i < 6; ++i) sum += weight(i, h) * features[i];
    for (std::size_t p = 0; p < kPatterns.size(); ++p) {
      for (int j = 0; j < kPatterns[p].instances; ++j)
        sum += weight(t.offsets[p] + index(b, t, static_cast<int>(p), j), h);
    }
    const int u = sum / 8;
    hidden[h] = u < -32768 ? 0 : u > 32767 ? 4096 : sigmoid(u);
  }
  int a = 4 * w.output[4];
  for (int h = 0; h < 4; ++h) a += (4 * w.output[h] * hidden[h]) / 4096;
  return outputScore(a);
}

}  // namespace kaimo::reference
