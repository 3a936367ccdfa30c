// The two steps every searching node shares, written once for the normal
// read, the exact solver, the root and the analysis: the look-up of the node
// in the table before its moves, and the loop over its moves by the
// principal-variation rule, alone or shared with the team (search_team.h).
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

// Precondition: `table` is not null.
inline NodeProbe probeNode(SearchThread& thread, SearchTable& table, const TableKey& key, int side, int depth,
                           int alpha, int beta) {
  NodeProbe probe{false, 0, -1};
  TableHit hit;
  if (!table.probe(key, side, hit)) return probe;
  probe.move = hit.move;
  if (hit.depth == depth && entrySettles(hit, alpha, beta, probe.value)) {
    ++thread.hashCutoffs;
    probe.settled = true;
  }
  return probe;
}

// A node's look-up: its key, and what its entry says (nothing without a table).
struct NodeLookup {
  TableKey key;
  NodeProbe probe;
};

inline NodeLookup lookUpNode(SearchThread& thread, SearchTable* table, Bits own, Bits opp, int side, int depth,
                             int alpha, int beta) {
  if (table == nullptr) return {TableKey{}, {false, 0, -1}};
  const TableKey key = SearchTable::keyOf(own, opp);
  return {key, probeNode(thread, *table, key, side, depth, alpha, beta)};
}

struct MoveLoopResult {
  int best;      // the best value found (fail-soft); -SCORE_INF when no move was searched
  int bestMove;  // the move that raised the value above alpha, -1 none
};

// The value of move `index` for the side to move in the window (low, beta)
// by the principal-variation rule: a `wide` move (the first of a node, or
// every move of the analysis's root) and a null-window node's moves with the
// window as it is; any other with a null window first, and again only when
// it beats the best so far, from `lowNow()` (the window's lower end then:
// another thread may have raised it meanwhile).
template <typename SearchMove, typename LowNow>
int principalMoveValue(SearchThread& thread, const SearchMove& searchMove, int index, bool wide, int low, int beta,
                       const LowNow& lowNow) {
  if (wide || beta - low == 1) return searchMove(thread, index, low, beta);
  int value = searchMove(thread, index, low, low + 1);
  if (value > low && value < beta && thread.abortReason == 0) {
    const int now = std::max(low, lowNow());
    if (now < beta) value = searchMove(thread, index, now, beta);
  }
  return value;
}

// The moves from `first` on, shared with the idle threads of the team (see
// SearchTeam); `loop` is what the moves before it gave. Precondition:
// thread.team is not null.
template <typename SearchMove, typename MoveDone>
MoveLoopResult shareMoves(SearchThread& thread, const MoveOrder& order, int first, const MoveLoop& loop, int beta,
                          MoveWindows windows, const SearchMove& searchMove, const MoveDone& moveDone) {
  SplitPoint split;
  split.order = &order;
  split.beta = beta;
  split.windows = windows;
  split.searchMove = searchMove;
  split.moveDone = moveDone;
  split.next = split.done = first;
  split.alpha = loop.low;
  split.loop = loop;
  thread.team->share(split, thread);
  return {split.loop.best, split.loop.bestMove};
}

// Searches the moves of `order` for the side to move, fail-soft in (alpha,
// beta), by the principal-variation rule (principalMoveValue). Stops at the
// first value at or above beta. When `mayShare` (the node is deep enough to
// be worth it) and a thread of the team is idle after the first move, the
// other moves are shared with it.
//
// `searchMove(thread, index, alpha, beta)` returns the value of move
// `index` of the order for the side to move, searched in (alpha, beta) by
// `thread` (the caller's, or that of another thread at a split point);
// `moveDone(done)` hears how many moves are finished, on this thread only.
// When the thread aborts the result means nothing: the caller looks at
// thread.abortReason.
template <typename SearchMove, typename MoveDone>
MoveLoopResult searchMoves(SearchThread& thread, const MoveOrder& order, int alpha, int beta, bool mayShare,
                           const SearchMove& searchMove, const MoveDone& moveDone) {
  MoveLoop loop{-SCORE_INF, -1, alpha};
  for (int i = 0; i < order.count; ++i) {
    if (i > 0 && mayShare && i + 1 < order.count && thread.team != nullptr && thread.team->hasIdleThread()) {
      return shareMoves(thread, order, i, loop, beta, MoveWindows::Principal, searchMove, moveDone);
    }
    const int low = loop.low;
    const int value = principalMoveValue(thread, searchMove, i, i == 0, low, beta, [low] { return low; });
    if (thread.abortReason != 0) break;
    moveDone(i + 1);
    if (loop.take(value, order.moves[i].square, beta)) break;
  }
  return {loop.best, loop.bestMove};
}

// A loop that reports nothing.
inline constexpr auto noReport = [](int) {};

}  // namespace kaimo
