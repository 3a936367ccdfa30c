// The position as bit masks: the form the searches work on.
//
// Bit s of a mask is square s (s = 10 * column + row, as in Board), so the
// 100 squares fit one unsigned 128-bit integer. A position is three masks:
// black discs, white discs and empty squares; a wall is in none of them, so
// it blocks every run and is never a move. Moves, flips and counts of all
// squares at once are shifts, ands and popcounts.
//
// Neighbours are index steps: ±10 is one column, ±1 one row, ±9 and ±11 the
// diagonals. A step with a row change can wrap from row 9 of one column to
// row 0 of the next (or back); the move generator keeps such steps away from
// those rows (see runSquaresOf). Steps off the ends of the board fall outside
// the 100 bits and meet no disc and no empty square.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/board/board.h"

namespace kaimo {

using Bits = unsigned __int128;

namespace bits_detail {

constexpr Bits rowMask(int row) {
  Bits m = 0;
  for (int column = 0; column < kBoardSize; ++column) m |= Bits{1} << squareAt(column, row);
  return m;
}

constexpr Bits allSquares() { return (Bits{1} << kSquareCount) - 1; }

}  // namespace bits_detail

constexpr Bits kAllSquares = bits_detail::allSquares();

inline Bits squareBit(int square) { return Bits{1} << square; }

// The halves as 64-bit words, counted together: one sum of byte counts and
// one multiply for both. The popcnt instruction where the target has it.
inline int bitCount(Bits b) {
  const auto lo = static_cast<std::uint64_t>(b);
  const auto hi = static_cast<std::uint64_t>(b >> 64);
#if defined(__POPCNT__)
  return __builtin_popcountll(lo) + __builtin_popcountll(hi);
#else
  constexpr std::uint64_t k1 = 0x5555555555555555ull, k2 = 0x3333333333333333ull, k4 = 0x0f0f0f0f0f0f0f0full;
  auto nibbles = [&](std::uint64_t x) {
    x -= (x >> 1) & k1;
    x = (x & k2) + ((x >> 2) & k2);
    return (x + (x >> 4)) & k4;  // each byte holds 0..8
  };
  return static_cast<int>(((nibbles(lo) + nibbles(hi)) * 0x0101010101010101ull) >> 56);
#endif
}

// Precondition: b != 0.
inline int lowestSquare(Bits b) {
  const auto lo = static_cast<std::uint64_t>(b);
  return lo != 0 ? __builtin_ctzll(lo) : 64 + __builtin_ctzll(static_cast<std::uint64_t>(b >> 64));
}

// Precondition: b != 0.
constexpr int highestSquare(Bits b) {
  const auto hi = static_cast<std::uint64_t>(b >> 64);
  return hi != 0 ? 127 - __builtin_clzll(hi) : 63 - __builtin_clzll(static_cast<std::uint64_t>(b));
}

namespace bits_detail {

// Squares that can hold a disc flipped by a run along `step`: a flipped disc
// has a square of the run on either side of it, so with a row change it is
// never on the first or the last row. Run squares therefore never take part
// in a wrapping step, and neither the own disc behind a run nor the move in
// front of it can be reached through a wrap.
constexpr Bits runSquaresOf(int step) {
  const bool changesRow = step % 10 != 0;
  return changesRow ? kAllSquares & ~rowMask(0) & ~rowMask(kBoardSize - 1) : kAllSquares;
}

template <int Step>
inline Bits shifted(Bits b) {
  if constexpr (Step > 0) {
    return b << Step;
  } else {
    return b >> -Step;
  }
}

// Empty squares from which a run of 1..8 opponent discs along -Step ends at
// an own disc. The run grows one square, then two at a time over pairs of
// opponent discs: five shifted ands instead of eight.
template <int Step>
inline Bits movesAlong(Bits own, Bits opp, Bits empty) {
  const Bits o = opp & runSquaresOf(Step);
  Bits run = o & shifted<Step>(own);
  run |= o & shifted<Step>(run);
  const Bits pairs = o & shifted<Step>(o);
  run |= pairs & shifted<2 * Step>(run);
  run |= pairs & shifted<2 * Step>(run);
  run |= pairs & shifted<2 * Step>(run);
  return empty & shifted<Step>(run);
}

// The same on plain integers, for targets without SSE2.
inline Bits legalMovesPortable(Bits own, Bits opp, Bits empty) {
  return movesAlong<-11>(own, opp, empty) | movesAlong<-10>(own, opp, empty) | movesAlong<-9>(own, opp, empty) |
         movesAlong<-1>(own, opp, empty) | movesAlong<+1>(own, opp, empty) | movesAlong<+9>(own, opp, empty) |
         movesAlong<+10>(own, opp, empty) | movesAlong<+11>(own, opp, empty);
}

#if defined(__SSE2__)
// In SSE2 registers (every x86-64 has them) a mask is one register and an
// and one instruction; on plain integers the eight directions' masks take
// two registers each and spill. About 1.7 times faster in perft.
namespace sse {

inline __m128i load(Bits b) {
  return _mm_set_epi64x(static_cast<long long>(b >> 64), static_cast<long long>(static_cast<std::uint64_t>(b)));
}

inline Bits store(__m128i v) {
  const auto lo = static_cast<std::uint64_t>(_mm_cvtsi128_si64(v));
  const auto hi = static_cast<std::uint64_t>(_mm_cvtsi128_si64(_mm_unpackhi_epi64(v, v)));
  return Bits{hi} << 64 | lo;
}

// A 128-bit shift: both 64-bit lanes shift, and the bits that cross from
// one lane to the other come from a byte shift of the whole register.
template <int Step>
inline __m128i shifted(__m128i x) {
  if constexpr (Step > 0) {
    return _mm_or_si128(_mm_slli_epi64(x, Step), _mm_srli_epi64(_mm_slli_si128(x, 8), 64 - Step));
  } else {
    return _mm_or_si128(_mm_srli_epi64(x, -Step), _mm_slli_epi64(_mm_srli_si128(x, 8), 64 + Step));
  }
}

template <int Step>
inline __m128i movesAlong(__m128i own, __m128i opp, __m128i oppInner, __m128i empty) {
  const __m128i o = Step % 10 != 0 ? oppInner : opp;
  __m128i run = _mm_and_si128(o, shifted<Step>(own));
  run = _mm_or_si128(run, _mm_and_si128(o, shifted<Step>(run)));
  const __m128i pairs = _mm_and_si128(o, shifted<Step>(o));
  run = _mm_or_si128(run, _mm_and_si128(pairs, shifted<2 * Step>(run)));
  run = _mm_or_si128(run, _mm_and_si128(pairs, shifted<2 * Step>(run)));
  run = _mm_or_si128(run, _mm_and_si128(pairs, shifted<2 * Step>(run)));
  return _mm_and_si128(empty, shifted<Step>(run));
}

inline Bits legalMoves(Bits ownBits, Bits oppBits, Bits emptyBits) {
  const __m128i own = load(ownBits), opp = load(oppBits), empty = load(emptyBits);
  const __m128i inner = load(oppBits & runSquaresOf(1));
  const __m128i a = _mm_or_si128(movesAlong<-11>(own, opp, inner, empty), movesAlong<-10>(own, opp, inner, empty));
  const __m128i b = _mm_or_si128(movesAlong<-9>(own, opp, inner, empty), movesAlong<-1>(own, opp, inner, empty));
  const __m128i c = _mm_or_si128(movesAlong<+1>(own, opp, inner, empty), movesAlong<+9>(own, opp, inner, empty));
  const __m128i d = _mm_or_si128(movesAlong<+10>(own, opp, inner, empty), movesAlong<+11>(own, opp, inner, empty));
  return store(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d)));
}

}  // namespace sse
#endif

using Rays = std::array<std::array<Bits, 8>, kSquareCount>;

// The squares beyond each square in each direction, up to the edge.
constexpr Rays makeRays() {
  constexpr int kColumnChange[8] = {-1, -1, -1, 0, 0, +1, +1, +1};
  constexpr int kRowChange[8] = {-1, 0, +1, -1, +1, -1, 0, +1};
  Rays rays{};
  for (int s = 0; s < kSquareCount; ++s) {
    for (int d = 0; d < 8; ++d) {
      Bits ray = 0;
      int column = columnOf(s) + kColumnChange[d];
      int row = rowOf(s) + kRowChange[d];
      for (; column >= 0 && column < kBoardSize && row >= 0 && row < kBoardSize;
           column += kColumnChange[d], row += kRowChange[d]) {
        ray |= Bits{1} << squareAt(column, row);
      }
      rays[s][d] = ray;
    }
  }
  return rays;
}

inline constexpr Rays kRays = makeRays();

constexpr int constexprCount(Bits b) {
  int n = 0;
  for (; b != 0; b &= b - 1) ++n;
  return n;
}

// Directions 0..3 run towards lower squares, 4..7 towards higher ones.
// A run flips when the first square along the ray that is not an opponent
// disc is an own disc: then every ray square before it is an opponent disc.
// With the square known at compile time the ray is a constant, a ray within
// one 64-bit half is worked on as one word, and a ray of fewer than two
// squares (no room for a run and its end) costs nothing.
template <std::uint64_t Ray, bool Up>
inline std::uint64_t flipsInWord(std::uint64_t own, std::uint64_t opp) {
  const std::uint64_t stops = Ray & ~opp;
  if constexpr (Up) {
    const std::uint64_t first = stops & (0 - stops);
    return (first & own) != 0 ? Ray & (first - 1) : 0;
  } else {
    constexpr std::uint64_t kNeighbour = std::uint64_t{1} << (63 - __builtin_clzll(Ray));
    if ((opp & kNeighbour) == 0 || stops == 0) return 0;  // most runs end at once
    const int first = 63 - __builtin_clzll(stops);
    return (own >> first & 1) != 0 ? Ray & ~((std::uint64_t{2} << first) - 1) : 0;
  }
}

template <int S, int Dir>
inline Bits flipsAlong(Bits own, Bits opp) {
  constexpr Bits kRay = kRays[S][Dir];
  constexpr auto kLow = static_cast<std::uint64_t>(kRay), kHigh = static_cast<std::uint64_t>(kRay >> 64);
  if constexpr (constexprCount(kRay) < 2) {
    return 0;
  } else if constexpr (kHigh == 0) {
    return flipsInWord<kLow, Dir >= 4>(static_cast<std::uint64_t>(own), static_cast<std::uint64_t>(opp));
  } else if constexpr (kLow == 0) {
    return Bits{flipsInWord<kHigh, Dir >= 4>(static_cast<std::uint64_t>(own >> 64),
                                             static_cast<std::uint64_t>(opp >> 64))}
           << 64;
  } else if constexpr (Dir >= 4) {
    const Bits stops = kRay & ~opp;
    const Bits first = stops & (Bits{0} - stops);
    return (first & own) != 0 ? kRay & (first - 1) : 0;
  } else {
    constexpr Bits kNeighbour = Bits{1} << highestSquare(kRay);
    if ((opp & kNeighbour) == 0) return 0;  // most runs end at once
    const Bits stops = kRay & ~opp;
    if (stops == 0) return 0;
    const int first = highestSquare(stops);
    return (own >> first & 1) != 0 ? kRay & ~((Bits{2} << first) - 1) : 0;
  }
}

template <int S>
Bits flipsAt(Bits own, Bits opp) {
  return flipsAlong<S, 0>(own, opp) | flipsAlong<S, 1>(own, opp) | flipsAlong<S, 2>(own, opp) |
         flipsAlong<S, 3>(own, opp) | flipsAlong<S, 4>(own, opp) | flipsAlong<S, 5>(own, opp) |
         flipsAlong<S, 6>(own, opp) | flipsAlong<S, 7>(own, opp);
}

using FlipsFn = Bits (*)(Bits own, Bits opp);

template <int... S>
constexpr std::array<FlipsFn, kSquareCount> makeFlipsTable(std::integer_sequence<int, S...>) {
  return {&flipsAt<S>...};
}

inline constexpr auto kFlipsAt = makeFlipsTable(std::make_integer_sequence<int, kSquareCount>{});

using LegalMovesFn = Bits (*)(Bits own, Bits opp, Bits empty);

// Every move generator this processor runs, the slowest first: plain
// integers, SSE2, two directions per register with AVX2, and the same with
// AVX-512's concatenating shifts (VBMI2). Their results are the same.
std::vector<LegalMovesFn> runnableLegalMoves();
// The fastest of them (asked once, at the first call of bitLegalMoves).
LegalMovesFn chooseLegalMoves();

}  // namespace bits_detail

// The squares where the owner of `own` may move.
inline Bits bitLegalMoves(Bits own, Bits opp, Bits empty) {
  static const bits_detail::LegalMovesFn legalMoves = bits_detail::chooseLegalMoves();
  return legalMoves(own, opp, empty);
}

// The discs that `own` playing `square` turns over; 0 when the move flips
// nothing. Reads the masks only (the square itself is not looked at).
inline Bits bitFlips(Bits own, Bits opp, int square) { return bits_detail::kFlipsAt[square](own, opp); }

struct BitBoard {
  Bits black;
  Bits white;
  Bits empty;
};

BitBoard toBits(const Board& board);
// Squares in none of the three masks become walls.
void fromBits(const BitBoard& bits, Board& board);

}  // namespace kaimo
