// How a review read looks for a move better than the one played: the move
// played has its exact value; every other move only has to show whether it
// does better than the best so far, and, when it does, by how much.
#pragma once

#include "engine/eval/score.h"
#include "engine/search/move_order.h"
#include "engine/search/search_context.h"

namespace kaimo {

struct ValuedMove {
  int value;
  int square;
};

// The best of `played` and the moves of `order`: each read with a null
// window at the best so far, and only one that beats it read again from
// that best up (its value is then exact). `read(square, alpha, beta)` is
// fail-soft. Once the thread aborts the result means nothing.
template <typename Read>
ValuedMove bestAgainst(const SearchThread& thread, const MoveOrder& order, ValuedMove played, const Read& read) {
  ValuedMove best = played;
  for (int i = 0; i < order.count && thread.abortReason == 0; ++i) {
    const int square = order.moves[i].square;
    int value = read(square, best.value, best.value + 1);
    if (value > best.value && thread.abortReason == 0) value = read(square, best.value, SCORE_INF);
    if (value > best.value) best = {value, square};
  }
  return best;
}

}  // namespace kaimo
