// What the network of "狐" sees of a position: six numeric features and the
// weight rows of the 58 pattern placements. Shared with the trainer, which
// must see positions exactly as the evaluator does.
#pragma once

#include <array>
#include <cstdint>

#include "engine/board/bitboard.h"
#include "engine/board/board.h"
#include "engine/eval/pattern_layout.h"

namespace kaimo {

// The value the bias feature carries.
constexpr int kBiasFeature = 8;

// Mobility difference, parity, corners, inner corners, discs, bias; all
// from black's point of view, the parity signed by the side to move.
using PatternFeatures = std::array<int, kFeatureCount>;

struct NetworkInputs {
  PatternFeatures features;
  std::array<int, kActiveRowCount> rows;
};

// The index table of each pattern (null for patterns that need none).
using IndexTables = std::array<const std::uint16_t*, kPatternCount>;

// Index of one placement inside its pattern's rows. A wall square reads as
// empty: it holds no disc and nobody can ever play on it, like a square that
// stays empty to the end, and every digit stays inside 0..2 so no index can
// leave its table.
int patternIndex(const Board& board, int pattern, int instance, const std::uint16_t* table);

// The features of a position from its masks; `empty` holds the squares left
// to play (walls are in no mask).
PatternFeatures patternFeatures(Bits black, Bits white, Bits empty, int side);

// Everything the network sees, computed from the board square by square:
// what the trainer reads, and the reference the search's incremental
// indices must agree with.
void collectInputs(const Board& board, int side, const IndexTables& tables, const WeightLayout& layout,
                   NetworkInputs& inputs);

}  // namespace kaimo
