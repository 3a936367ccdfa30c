// The evaluation of "狸" on the bit masks: what the search calls at its
// leaves, without building a Board. Gives the same value as evalSimple.
#pragma once

#include <initializer_list>

#include "engine/board/bitboard.h"
#include "engine/board/mobility.h"
#include "engine/eval/score.h"

namespace kaimo {

namespace eval_detail {

constexpr Bits maskOf(std::initializer_list<int> squares) {
  Bits mask = 0;
  for (const int s : squares) mask |= Bits{1} << s;
  return mask;
}

inline constexpr Bits kCornerMask = maskOf({0, 9, 90, 99});
inline constexpr Bits kInnerCornerMask = maskOf({11, 18, 81, 88});

}  // namespace eval_detail

// Black's point of view, as evalSimple with the final flag 0.
inline int evalSimpleBits(Bits black, Bits white, Bits empty) {
  using namespace eval_detail;
  const int blackDiscs = bitCount(black), whiteDiscs = bitCount(white);
  const int empties = bitCount(empty);
  if (empties == 0) return scoreFinal(blackDiscs, whiteDiscs);
  // The same weights as evalSimple: the disc term changes sign at 10 empty
  // squares, corners +-50000, the squares inside them -+10000.
  const int discs = (empties > 10 ? whiteDiscs - blackDiscs : blackDiscs - whiteDiscs) * SCORE_PER_DISC;
  const int corners = 50000 * (bitCount(black & kCornerMask) - bitCount(white & kCornerMask)) -
                      10000 * (bitCount(black & kInnerCornerMask) - bitCount(white & kInnerCornerMask));
  const int mobility = bitMobilityDifference(black, white, empty);
  return discs + corners + SCORE_PER_DISC * mobility;
}

}  // namespace kaimo
