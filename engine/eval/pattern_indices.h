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

// The slots in vectors of eight 16-bit lanes, the last one padded.
constexpr int kIndexLanes = 8;
constexpr int kIndexVectors = (kPatternSlotCount + kIndexLanes - 1) / kIndexLanes;

// The raw digit numbers of every slot. Each fits 16 bits: the longest run has
// ten squares (3^10 < 65536); an edge is split into runs of eight and four.
struct PatternIndices {
  alignas(16) std::array<std::uint16_t, kIndexVectors * kIndexLanes> raw;
};

namespace pattern_slots {

// For each square, 3^position in each slot it lies in (0 in the others): a
// move adds a multiple of the square's row to every slot at once.
using SquareWeights = std::array<std::array<std::uint16_t, kIndexVectors * kIndexLanes>, kSquareCount>;

inline constexpr SquareWeights kSquareWeights = [] {
  SquareWeights weights{};
  for (int square = 0; square < kSquareCount; ++square) {
    const SquareSlots& inSquare = kSlotTables.squares[square];
    for (int i = 0; i < inSquare.count; ++i) weights[square][inSquare.digits[i].slot] = inSquare.digits[i].weight;
  }
  return weights;
}();

// Eight slots as one vector: additions wrap at 16 bits like the slots do.
typedef std::uint16_t IndexVector __attribute__((vector_size(16)));

inline IndexVector vectorAt(const std::uint16_t* lanes) {
  IndexVector v;
  __builtin_memcpy(&v, lanes, sizeof v);
  return v;
}

}  // namespace pattern_slots

// From scratch: every non-disc square (empty or wall) reads as digit 2.
PatternIndices patternIndicesOf(Bits black, Bits white);

// After `mover` played `square` and turned `flips`: the played square goes
// from empty (2) to the mover's digit, each flipped disc from the other
// colour's digit to the mover's. Black is digit 0 and white 1, so for black
// the flipped squares' weights are subtracted once and the played square's
// twice; for white the flipped ones are added and the played one subtracted.
inline void patternIndicesPlay(PatternIndices& indices, int square, Bits flips, int mover) {
  using namespace pattern_slots;
  IndexVector flipped[kIndexVectors] = {};
  for (; flips != 0; flips &= flips - 1) {
    const std::uint16_t* weights = kSquareWeights[lowestSquare(flips)].data();
    for (int v = 0; v < kIndexVectors; ++v) flipped[v] += vectorAt(weights + kIndexLanes * v);
  }
  const std::uint16_t* placed = kSquareWeights[square].data();
  for (int v = 0; v < kIndexVectors; ++v) {
    IndexVector lanes = vectorAt(indices.raw.data() + kIndexLanes * v);
    const IndexVector place = vectorAt(placed + kIndexLanes * v);
    lanes = mover == kBlack ? lanes - flipped[v] - place - place : lanes + flipped[v] - place;
    __builtin_memcpy(indices.raw.data() + kIndexLanes * v, &lanes, sizeof lanes);
  }
}

}  // namespace kaimo
