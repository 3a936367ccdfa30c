#include "engine/eval/pattern_indices.h"

namespace kaimo {
namespace {

// Every slot with all its squares empty: each digit 2.
constexpr PatternIndices kAllEmpty = [] {
  PatternIndices indices{};
  for (const auto& weights : pattern_slots::kSquareWeights) {
    for (int i = 0; i < kPatternSlotCount; ++i) indices.raw[i] += 2 * weights[i];
  }
  return indices;
}();

// Lowers the digit of every square of `discs` by `drop` (2 to black, 1 to white).
void lowerDigits(PatternIndices& indices, Bits discs, int drop) {
  for (; discs != 0; discs &= discs - 1) {
    const auto& weights = pattern_slots::kSquareWeights[lowestSquare(discs)];
    for (int i = 0; i < kPatternSlotCount; ++i)
      indices.raw[i] = static_cast<std::uint16_t>(indices.raw[i] - drop * weights[i]);
  }
}

}  // namespace

PatternIndices patternIndicesOf(Bits black, Bits white) {
  PatternIndices indices = kAllEmpty;
  lowerDigits(indices, black, 2);
  lowerDigits(indices, white, 1);
  return indices;
}

}  // namespace kaimo
