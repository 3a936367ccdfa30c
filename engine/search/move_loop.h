// The two steps every searching node shares, written once for the normal
// read, the exact solver and the root: the look-up of the node in the table
// before its moves, and the loop over its moves.
#pragma once

#include "engine/eval/score.h"
#include "engine/search/move_order.h"
#include "engine/search/search_context.h"
#include "engine/search/search_table.h"

namespace kaimo {

// What the table says about a node before its moves are searched.
struct NodeProbe {
  bool settled;  // the entry of the node's depth settles the window: `value` is the node's result
  int value;
  int move;  // the move to try first (of an entry of any depth), -1 none
};

// Precondition: context.table is not null.
inline NodeProbe probeNode(SearchContext& context, const TableKey& key, int side, int depth, int alpha, int beta) {
  NodeProbe probe{false, 0, -1};
  TableHit hit;
  if (!context.table->probe(key, side, hit)) return probe;
  probe.move = hit.move;
  if (hit.depth == depth && entrySettles(hit, alpha, beta, probe.value)) {
    ++context.hashCutoffs;
    probe.settled = true;
  }
  return probe;
}

struct MoveLoopResult {
  int best;      // the best value found (fail-soft); -SCORE_INF when no move was searched
  int bestMove;  // the move that raised the value above alpha, -1 none
};

// Searches the moves of `order` for the side to move, fail-soft in (alpha,
// beta): the first move with the window, each later one with a null window
// first and again with the window only when it beats the best so far
// (principal variation search). With a null window (beta = alpha + 1) every
// move is one null-window search. Stops at the first value at or above beta.
//
// `searchMove(context, index, alpha, beta)` returns the value of move
// `index` of the order for the side to move, searched in (alpha, beta) with
// `context`; `moveDone(done)` hears how many moves are finished after each.
// When the context aborts the result means nothing: the caller looks at
// context.abortMarker.
template <typename SearchMove, typename MoveDone>
MoveLoopResult searchMoves(SearchContext& context, const MoveOrder& order, int alpha, int beta, SearchMove&& searchMove,
                           MoveDone&& moveDone) {
  MoveLoopResult result{-SCORE_INF, -1};
  int low = alpha;
  for (int i = 0; i < order.count; ++i) {
    int value;
    if (i == 0 || beta - low == 1) {
      value = searchMove(context, i, low, beta);
    } else {
      value = searchMove(context, i, low, low + 1);
      if (value > low && value < beta) value = searchMove(context, i, low, beta);
    }
    if (context.abortMarker != 0) return result;
    moveDone(i + 1);
    if (value > result.best) {
      result.best = value;
      if (value > low) {
        result.bestMove = order.moves[i].square;
        low = value;
        if (low >= beta) break;
      }
    }
  }
  return result;
}

// A loop that reports nothing.
inline void noReport(int) {}

}  // namespace kaimo
