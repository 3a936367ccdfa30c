// The moves of the upper plies of a read to the end in the order "狐" and
// the masks like them together: the table's move first, then each move by
// the value a shallow read of "狐" gives its position plus how fast it is to
// search (fewest replies first, see move_order.h). Near the top of an exact
// read a better first move saves far more than the read costs; lower down
// the masks alone are cheaper.
#pragma once

#include "engine/eval/evaluator.h"
#include "engine/search/move_order.h"
#include "engine/search/search_context.h"

namespace kaimo {

// Ranks every move of `moves` (legal moves of the owner of `own`) with
// `orderer`, reading `plies` below each move (0: the static value of its
// position), and fastestFirstKey; the table move `first` (or -1) goes
// before all. Returns the number of moves ranked.
int orderMovesByEvaluation(const Evaluator& orderer, int plies, Bits own, Bits opp, Bits empty, Bits moves, int first,
                           MoveOrder& order);

// The value of the position for the owner of `own` by a read of `plies` of
// "狐" (0: its static value), with no table; SCORE_NONE when the stage has
// no weights.
int valueByEvaluation(const Evaluator& orderer, int plies, Bits own, Bits opp, Bits empty);

// What a read of "狐" expects the owner of `own` to make of the position
// in the end: the guess a read to the end starts from (see
// guessed_window.h); SCORE_NONE without `orderer` (the data of "狐" are
// missing).
int guessExactValue(const Evaluator* orderer, Bits own, Bits opp, Bits empty);

}  // namespace kaimo
