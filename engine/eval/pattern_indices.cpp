#include "engine/eval/pattern_indices.h"

namespace kaimo {
namespace {

// Every slot with all its squares empty: each digit 2.
constexpr PatternIndices kAllEmpty = [] {
  using namespace pattern_slots;
  PatternIndices indices{};
  for (int square = 0; square < kSquareCount; ++square) {
    const SquareSlots& slots = kSlotTables.squares[square];
    for (int i = 0; i < slots.count; ++i) indices.raw[slots.digits[i].slot] += 2 * slots.digits[i].weight;
  }
  return indices;
}();

// Lowers the digit of every square of `discs` by `drop` (2 to black, 1 to white).
void lowerDigits(PatternIndices& indices, Bits discs, int drop) {
  using namespace pattern_slots;
  for (; discs != 0; discs &= discs - 1) {
    const SquareSlots& slots = kSlotTables.squares[lowestSquare(discs)];
    for (int i = 0; i < slots.count; ++i) {
      const SlotDigit d = slots.digits[i];
      indices.raw[d.slot] = static_cast<std::uint16_t>(indices.raw[d.slot] - drop * d.weight);
    }
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
