// The evaluation of "人間" and "狸", also used to order moves in the search.
#pragma once

#include "engine/board/bitboard.h"
#include "engine/board/board.h"
#include "engine/eval/eval_simple_bits.h"

namespace kaimo {

// (board, final flag, side to move, counts) to a score from black's point of
// view: with `scoreAsFinished` non-zero (the final flag) the position is
// scored by its discs as a finished game. The callee may use `counts` as
// scratch.
int evalSimple(const Board& board, int scoreAsFinished, int side, DiscCounts& counts);

// evalSimple with counts computed from the board.
int evalOrdering(const Board& board, int scoreAsFinished, int side);

// The simple evaluation as the search holds it: it keeps no state from move
// to move and scores a position from its masks.
struct SimpleEvaluator {
  struct State {};

  bool failed() const { return false; }
  State stateOf(Bits, Bits) const { return {}; }
  static void play(State&, int, Bits, int) {}
  // Black's point of view; `empty` holds the squares left to play.
  int score(const State&, Bits black, Bits white, Bits empty, int) const { return evalSimpleBits(black, white, empty); }
  // Children scored one by one share nothing.
  struct Family {};
  Family familyOf(int) const { return {}; }
  int childScore(const Family&, const State& child, Bits black, Bits white, Bits empty, int side) const {
    return score(child, black, white, empty, side);
  }
  int evaluate(const Board& board, int scoreAsFinished, int side, DiscCounts& counts) const {
    return evalSimple(board, scoreAsFinished, side, counts);
  }
};

}  // namespace kaimo
