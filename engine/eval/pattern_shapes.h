// The fourteen board patterns of "狐" and the eight symmetries of the board
// that place them. Everything here is fixed when the program is compiled, so
// the evaluator and the trainer read the very same tables and no start-up
// code has to run before either can use them.
#pragma once

#include <array>
#include <cstdint>

#include "engine/board/board.h"

namespace kaimo {

constexpr int kPatternCount = 14;
constexpr int kMaxPatternSquares = 12;
constexpr int kSymmetryCount = 8;

// How the digits of a pattern placement become a weight row.
constexpr int kKindFull = 1;         // every configuration owns a row
constexpr int kKindCornerBlock = 3;  // a block and its reflection about the corner's diagonal share a row
constexpr int kKindLine = 4;         // a line and its reverse share a class from an index table
constexpr int kKindEdge = 6;         // an edge class from an index table, times the 81 corner-area configurations

// The edge pattern lists corner, inner corner, other inner corner, other
// corner, then the edge squares between the corners.
constexpr int kEdgeCornerSquares = 4;

struct PatternDescriptor {
  std::int16_t n;          // squares, 4..12
  std::int16_t kind;       // kKindFull, kKindCornerBlock, kKindLine or kKindEdge
  std::int16_t instances;  // placements evaluated: symmetry maps 0 .. instances - 1
  // Base placement; the first square is the most significant base-3 digit.
  std::array<std::int16_t, kMaxPatternSquares> squares;
};

inline constexpr std::array<PatternDescriptor, kPatternCount> kPatternDescriptors = {{
    {4, kKindLine, 4, {30, 21, 12, 3}},
    {5, kKindLine, 4, {40, 31, 22, 13, 4}},
    {6, kKindLine, 4, {50, 41, 32, 23, 14, 5}},
    {7, kKindLine, 4, {60, 51, 42, 33, 24, 15, 6}},
    {8, kKindLine, 4, {70, 61, 52, 43, 34, 25, 16, 7}},
    {9, kKindLine, 4, {80, 71, 62, 53, 44, 35, 26, 17, 8}},
    {10, kKindLine, 2, {90, 81, 72, 63, 54, 45, 36, 27, 18, 9}},
    {10, kKindLine, 4, {1, 11, 21, 31, 41, 51, 61, 71, 81, 91}},
    {10, kKindLine, 4, {2, 12, 22, 32, 42, 52, 62, 72, 82, 92}},
    {10, kKindLine, 4, {3, 13, 23, 33, 43, 53, 63, 73, 83, 93}},
    {10, kKindLine, 4, {4, 14, 24, 34, 44, 54, 64, 74, 84, 94}},
    {12, kKindEdge, 4, {0, 11, 81, 90, 10, 20, 30, 40, 50, 60, 70, 80}},
    {10, kKindFull, 8, {0, 1, 2, 3, 4, 10, 11, 12, 13, 14}},
    {9, kKindCornerBlock, 4, {0, 1, 2, 10, 11, 12, 20, 21, 22}},
}};

// Maps 0..3 are the four rotations; map j + 4 is map j preceded by the
// exchange of column and row.
constexpr int symmetryImage(int map, int square) {
  const int c = columnOf(square);
  const int r = rowOf(square);
  constexpr int last = kBoardSize - 1;
  switch (map) {
    case 0: return squareAt(c, r);
    case 1: return squareAt(r, last - c);
    case 2: return squareAt(last - c, last - r);
    case 3: return squareAt(last - r, c);
    case 4: return squareAt(r, c);
    case 5: return squareAt(c, last - r);
    case 6: return squareAt(last - r, last - c);
    default: return squareAt(last - c, r);
  }
}

using SymmetryMaps = std::array<std::array<std::int8_t, kSquareCount>, kSymmetryCount>;

inline constexpr SymmetryMaps kSymmetryMaps = [] {
  SymmetryMaps maps{};
  for (int j = 0; j < kSymmetryCount; ++j) {
    for (int s = 0; s < kSquareCount; ++s) maps[j][s] = static_cast<std::int8_t>(symmetryImage(j, s));
  }
  return maps;
}();

// The squares of every pattern under every map, in digit order; a corner
// block reads its placement j + 4 beside placement j.
using Placements = std::array<std::array<std::array<std::int8_t, kMaxPatternSquares>, kSymmetryCount>, kPatternCount>;

inline constexpr Placements kPlacements = [] {
  Placements placements{};
  for (int p = 0; p < kPatternCount; ++p) {
    for (int j = 0; j < kSymmetryCount; ++j) {
      for (int k = 0; k < kPatternDescriptors[p].n; ++k)
        placements[p][j][k] = kSymmetryMaps[j][kPatternDescriptors[p].squares[k]];
    }
  }
  return placements;
}();

constexpr bool usesIndexTable(const PatternDescriptor& d) { return d.kind == kKindLine || d.kind == kKindEdge; }

// Squares covered by the pattern's index table: the whole line, or the edge
// squares between the corners.
constexpr int indexTableLength(const PatternDescriptor& d) {
  return d.kind == kKindEdge ? d.n - kEdgeCornerSquares : d.n;
}

// The digit in the table's file name: 1 for the edge tables, whose entries
// carry the mirrored flag, 0 for plain lines.
constexpr int indexTableDigit(const PatternDescriptor& d) { return d.kind == kKindEdge ? 1 : 0; }

// One weight row per evaluated placement.
constexpr int kActiveRowCount = [] {
  int n = 0;
  for (const auto& d : kPatternDescriptors) n += d.instances;
  return n;
}();
static_assert(kActiveRowCount == 58);

}  // namespace kaimo
