// The pattern indices of "狐" kept up to date move by move.
//
// Every placement of a pattern reads its squares as base-3 digits (black 0,
// white 1, empty or wall 2). Each digit run a placement needs is a slot that
// holds its raw base-3 number:
//   - a line: its squares;
//   - an edge: the eight squares between the corners, and the four corner-area
//     squares read forwards and backwards (the class says which one counts);
//   - a corner block: the block and its reflection about the diagonal;
//   - a full pattern: its squares.
// A move changes the digit of the square played and of each flipped disc, so
// it adds (new digit - old digit) * 3^position to the slots of those squares
// only: a table from square to (slot, 3^position) makes that a few additions
// instead of reading 58 placements square by square. A wall never changes.
#pragma once

#include <array>
#include <cstdint>

#include "engine/board/bitboard.h"
#include "engine/eval/pattern_shapes.h"

namespace kaimo {

namespace pattern_slots {

// How a placement's weight row is found from its slots.
struct PlacementSlots {
  std::int16_t pattern;
  std::int16_t first;  // its first slot; an edge uses three, a corner block two
};

struct SlotDigit {
  std::uint8_t slot;
  std::uint16_t weight;  // 3^position, the first square the most significant
};

// A square lies in at most this many slots (a corner square: 12).
constexpr int kMaxSlotsPerSquare = 16;

struct SquareSlots {
  int count = 0;
  std::array<SlotDigit, kMaxSlotsPerSquare> digits{};
};

struct SlotTables {
  std::array<PlacementSlots, kActiveRowCount> placements{};
  std::array<SquareSlots, kSquareCount> squares{};
  int slotCount = 0;
};

// Adds one digit run as a slot: `squares[k]` for k in order, most significant first.
constexpr int addSlot(SlotTables& t, const std::int8_t* squares, int count, bool reversed) {
  const int slot = t.slotCount++;
  int weight = 1;
  for (int k = count - 1; k >= 0; --k, weight *= 3) {
    const int square = reversed ? squares[count - 1 - k] : squares[k];
    SquareSlots& s = t.squares[square];
    s.digits[s.count++] = {static_cast<std::uint8_t>(slot), static_cast<std::uint16_t>(weight)};
  }
  return slot;
}

constexpr SlotTables makeSlotTables() {
  SlotTables t;
  int placement = 0;
  for (int p = 0; p < kPatternCount; ++p) {
    const PatternDescriptor& d = kPatternDescriptors[p];
    for (int j = 0; j < d.instances; ++j) {
      const std::int8_t* squares = kPlacements[p][j].data();
      int first = 0;
      if (d.kind == kKindEdge) {
        first = addSlot(t, squares + kEdgeCornerSquares, d.n - kEdgeCornerSquares, false);
        addSlot(t, squares, kEdgeCornerSquares, false);
        addSlot(t, squares, kEdgeCornerSquares, true);
      } else if (d.kind == kKindCornerBlock) {
        first = addSlot(t, squares, d.n, false);
        addSlot(t, kPlacements[p][j + 4].data(), d.n, false);
      } else {
        first = addSlot(t, squares, d.n, false);
      }
      t.placements[placement++] = {static_cast<std::int16_t>(p), static_cast<std::int16_t>(first)};
    }
  }
  return t;
}

inline constexpr SlotTables kSlotTables = makeSlotTables();

}  // namespace pattern_slots

constexpr int kPatternSlotCount = pattern_slots::kSlotTables.slotCount;
static_assert(kPatternSlotCount == 70);

// The raw digit numbers of every slot. Each fits 16 bits: the longest run has
// ten squares (3^10 < 65536); an edge is split into runs of eight and four.
struct PatternIndices {
  std::array<std::uint16_t, kPatternSlotCount> raw;
};

// From scratch: every non-disc square (empty or wall) reads as digit 2.
PatternIndices patternIndicesOf(Bits black, Bits white);

// After `mover` played `square` and turned `flips`: the played square goes
// from empty (2) to the mover's digit, each flipped disc from the other
// colour's digit to the mover's.
inline void patternIndicesPlay(PatternIndices& indices, int square, Bits flips, int mover) {
  using namespace pattern_slots;
  // Black is digit 0, white 1: a disc turned black loses one, turned white gains one.
  const int flipDelta = mover == kBlack ? -1 : +1;
  const int placeDelta = mover - 2;
  const SquareSlots& placed = kSlotTables.squares[square];
  for (int i = 0; i < placed.count; ++i) {
    const SlotDigit d = placed.digits[i];
    indices.raw[d.slot] = static_cast<std::uint16_t>(indices.raw[d.slot] + placeDelta * d.weight);
  }
  for (; flips != 0; flips &= flips - 1) {
    const SquareSlots& flipped = kSlotTables.squares[lowestSquare(flips)];
    for (int i = 0; i < flipped.count; ++i) {
      const SlotDigit d = flipped.digits[i];
      indices.raw[d.slot] = static_cast<std::uint16_t>(indices.raw[d.slot] + flipDelta * d.weight);
    }
  }
}

}  // namespace kaimo
