// The normal read: negamax with principal-variation windows on the bit
// masks, to a fixed depth, the leaves scored by the set-up's evaluator.
// Its value is that of plain alpha-beta over the same tree: a pass costs no
// ply (the other side moves on the same position), a game that ends is
// scored by scoreFinal, and a read whose depth reaches the end of the game is
// handed to the exact solver. Moves are ordered from the masks (the table's
// move, then the opponent's fewest replies); bounds are kept in the table
// per remaining depth. With the set-up's ProbCut table, a node may be cut
// by shallow searches before its moves are searched (see probcut.h); the
// reads that reach the end of the game are never cut.
//
// The search is compiled once per evaluator: the leaves call the evaluator
// directly and a move updates its state in the child node.
#pragma once

#include "engine/board/bitboard.h"
#include "engine/search/move_order.h"
#include "engine/search/search_context.h"
#include "engine/search/search_node.h"

namespace kaimo {

template <SearchEvaluator Eval>
class MidgameSearch {
 public:
  using Node = SearchNode<Eval>;

  MidgameSearch(SearchThread& thread, const Eval& eval) : thread_(thread), eval_(eval) {}

  // The value for the side to move, fail-soft in (alpha, beta), with `depth`
  // plies left. When the thread aborts (a stop, a failed evaluation) the
  // result is meaningless and thread.abortReason says why. `known` is the
  // side to move's legal moves when the parent's order generated them
  // (OrderedMove::replies), else kRepliesUnknown.
  int search(const Node& node, int depth, int alpha, int beta, Bits known = kRepliesUnknown);

 private:
  int leafValue(const Node& node, Bits empty);
  int childLeafValue(const Node& child, Bits empty, const typename Eval::Family& family);
  int forSideToMove(const Node& node, int value);
  int leafParent(const Node& node, Bits empty, Bits moves, int alpha, int beta);
  bool probCut(const Node& node, int depth, int empties, int alpha, int beta, int& value);
  void reportShare(int done, int total);

  SearchThread& thread_;
  const Eval& eval_;
};

extern template class MidgameSearch<SimpleEvaluator>;
extern template class MidgameSearch<PatternEvaluator>;

// The same from plain masks, with the set-up's evaluator: for a caller that
// searches one position (the search's own recursion never comes here).
int searchMidgame(SearchThread& thread, Bits own, Bits opp, int side, int depth, int alpha, int beta);

}  // namespace kaimo
