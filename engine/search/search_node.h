// The position a search works on: the two masks from the side to move, that
// side, and what the evaluator keeps up to date from move to move (the
// pattern indices of "狐"; nothing for "狸"). A child is made from its
// parent, never undone: the parent stays as it was on the caller's stack.
#pragma once

#include "engine/board/bitboard.h"

namespace kaimo {

template <typename Eval>
struct SearchNode {
  Bits own;  // discs of the side to move
  Bits opp;
  int side;
  typename Eval::State state;

  static SearchNode root(const Eval& eval, Bits own, Bits opp, int side) {
    const Bits black = side == kBlack ? own : opp;
    const Bits white = side == kBlack ? opp : own;
    return {own, opp, side, eval.stateOf(black, white)};
  }

  // After the side to move plays `square`, turning `flips`.
  SearchNode child(int square, Bits flips) const {
    SearchNode next{opp & ~flips, own | flips | squareBit(square), opponentOf(side), state};
    Eval::play(next.state, square, flips, side);
    return next;
  }

  // The other side to move on the same discs.
  SearchNode passed() const { return {opp, own, opponentOf(side), state}; }

  Bits black() const { return side == kBlack ? own : opp; }
  Bits white() const { return side == kBlack ? opp : own; }
};

}  // namespace kaimo
