#include "engine/eval/pattern_inputs.h"

#include <algorithm>

#include "engine/board/mobility.h"

namespace kaimo {
namespace {

// Indexed by square value & 3: black, white, empty, wall (read as empty).
constexpr int kDigitOf[4] = {0, 1, 2, 2};
constexpr Bits kCornerMask = (Bits{1} << 0) | (Bits{1} << 9) | (Bits{1} << 90) | (Bits{1} << 99);
constexpr Bits kInnerCornerMask = (Bits{1} << 11) | (Bits{1} << 18) | (Bits{1} << 81) | (Bits{1} << 88);

// The board as base-3 digits, converted once for all 58 placements.
using Digits = std::array<std::uint8_t, kSquareCount>;

Digits digitsOf(const Board& board) {
  Digits digits;
  for (int s = 0; s < kSquareCount; ++s) digits[s] = static_cast<std::uint8_t>(kDigitOf[board[s] & 3]);
  return digits;
}

int placementIndex(const Digits& digits, const std::array<std::int8_t, kMaxPatternSquares>& squares, int from, int to) {
  int raw = 0;
  for (int k = from; k < to; ++k) raw = 3 * raw + digits[squares[k]];
  return raw;
}

// Class of the edge times the 81 configurations of its corner area, read
// from the other corner when the class representative is the reversed edge.
int edgeIndex(const Digits& digits, const std::array<std::int8_t, kMaxPatternSquares>& squares, int n,
              const std::uint16_t* table) {
  const std::uint16_t entry = table[placementIndex(digits, squares, kEdgeCornerSquares, n)];
  int index = entry & kClassMask;
  for (int k = 0; k < kEdgeCornerSquares; ++k) {
    const int square = (entry & kMirroredFlag) ? squares[kEdgeCornerSquares - 1 - k] : squares[k];
    index = 3 * index + digits[square];
  }
  return index;
}

int indexOf(const Digits& digits, int pattern, int instance, const std::uint16_t* table) {
  const PatternDescriptor& d = kPatternDescriptors[pattern];
  const auto& squares = kPlacements[pattern][instance];
  switch (d.kind) {
    case kKindLine: return table[placementIndex(digits, squares, 0, d.n)] & kClassMask;
    case kKindEdge: return edgeIndex(digits, squares, d.n, table);
    case kKindCornerBlock:
      return std::min(placementIndex(digits, squares, 0, d.n),
                      placementIndex(digits, kPlacements[pattern][instance + 4], 0, d.n));
    default: return placementIndex(digits, squares, 0, d.n);
  }
}

// Black discs minus white discs on the squares of `mask`.
int signedCount(Bits black, Bits white, Bits mask) { return bitCount(black & mask) - bitCount(white & mask); }

}  // namespace

int patternIndex(const Board& board, int pattern, int instance, const std::uint16_t* table) {
  return indexOf(digitsOf(board), pattern, instance, table);
}

PatternFeatures patternFeatures(Bits black, Bits white, Bits empty, int side) {
  const int parity = bitCount(empty) % 2;
  return {bitMobilityDifference(black, white, empty), side == kWhite ? -parity : parity,
          signedCount(black, white, kCornerMask),     signedCount(black, white, kInnerCornerMask),
          bitCount(black) - bitCount(white),          kBiasFeature};
}

void collectInputs(const Board& board, int side, const IndexTables& tables, const WeightLayout& layout,
                   NetworkInputs& inputs) {
  const BitBoard bits = toBits(board);
  inputs.features = patternFeatures(bits.black, bits.white, bits.empty, side);
  const Digits digits = digitsOf(board);
  int next = 0;
  for (int p = 0; p < kPatternCount; ++p) {
    for (int j = 0; j < kPatternDescriptors[p].instances; ++j) {
      inputs.rows[next++] = static_cast<int>(layout.offsets[p]) + indexOf(digits, p, j, tables[p]);
    }
  }
}

}  // namespace kaimo
