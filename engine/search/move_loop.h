// The two steps every searching node shares, written once for the normal
// read, the exact solver and the root: the look-up of the node in the table
// before its moves, and the loop over its moves.
#pragma once

#include "engine/eval/score.h"
#include "engine/search/move_order.h"
#include "engine/search/search_context.h"
#include "engine/search/search_table.h"
#include "engine/search/search_team.h"

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

// The moves from `first` on, shared with the idle threads of the team (see
// SearchTeam); `result` and `low` are what the moves before it gave.
template <typename SearchMove, typename MoveDone>
MoveLoopResult shareMoves(SearchContext& context, const MoveOrder& order, int first, MoveLoopResult result, int low,
                          int beta, const SearchMove& searchMove, const MoveDone& moveDone) {
  SplitPoint split;
  split.order = &order;
  split.beta = beta;
  split.searchMove = [](const void* work, SearchContext& searching, int index, int alpha, int high) {
    return (*static_cast<const SearchMove*>(work))(searching, index, alpha, high);
  };
  split.work = &searchMove;
  split.moveDone = [](const void* report, int done) { (*static_cast<const MoveDone*>(report))(done); };
  split.report = &moveDone;
  split.next = split.done = first;
  split.alpha = low;
  split.best = result.best;
  split.bestMove = result.bestMove;
  split.low = low;
  context.team->share(split, context);
  return {split.best, split.bestMove};
}

// Searches the moves of `order` for the side to move, fail-soft in (alpha,
// beta): the first move with the window, each later one with a null window
// first and again with the window only when it beats the best so far
// (principal variation search). With a null window (beta = alpha + 1) every
// move is one null-window search. Stops at the first value at or above beta.
// When `mayShare` (the node is deep enough to be worth it) and a thread of
// the context's team is idle after the first move, the other moves are
// shared with it.
//
// `searchMove(context, index, alpha, beta)` returns the value of move
// `index` of the order for the side to move, searched in (alpha, beta) with
// `context` (the thread's own: shared moves are searched by other threads
// with theirs); `moveDone(done)` hears how many moves are finished, on this
// thread only. When the context aborts the result means nothing: the
// caller looks at context.abortMarker.
template <typename SearchMove, typename MoveDone>
MoveLoopResult searchMoves(SearchContext& context, const MoveOrder& order, int alpha, int beta, bool mayShare,
                           const SearchMove& searchMove, const MoveDone& moveDone) {
  MoveLoopResult result{-SCORE_INF, -1};
  int low = alpha;
  for (int i = 0; i < order.count; ++i) {
    if (i > 0 && mayShare && i + 1 < order.count && context.team != nullptr && context.team->hasIdleThread()) {
      return shareMoves(context, order, i, result, low, beta, searchMove, moveDone);
    }
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
inline constexpr auto noReport = [](int) {};

}  // namespace kaimo
