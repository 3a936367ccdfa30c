#include "engine/search/midgame_search.h"

#include <algorithm>
#include <type_traits>

#include "engine/eval/score.h"
#include "engine/search/endgame_solver.h"
#include "engine/search/move_loop.h"
#include "engine/search/move_order.h"
#include "engine/search/search_table.h"

namespace kaimo {
namespace {

constexpr int kNoValue = -SCORE_INF;
// Nodes with this many plies left or more sort their moves by the
// opponent's replies. Two plies above the leaves the sort costs more than the
// cutoffs it brings (measured on the bench: a third more time).
constexpr int kSortDepth = 3;
// Nodes with this many plies left or more share their moves with an idle
// thread: a smaller tree costs less than handing it over.
constexpr int kShareDepth = 4;

}  // namespace

template <SearchEvaluator Eval>
int MidgameSearch<Eval>::leafValue(const Node& node, Bits empty) {
  ++thread_.leafCount;
  if (empty == 0) return scoreFinal(bitCount(node.own), bitCount(node.opp));
  return forSideToMove(node, eval_.score(node.state, node.black(), node.white(), empty, node.side));
}

// The same for a child of a family of leaves (see leafParent).
template <SearchEvaluator Eval>
int MidgameSearch<Eval>::childLeafValue(const Node& child, Bits empty, const typename Eval::Family& family) {
  ++thread_.leafCount;
  if (empty == 0) return scoreFinal(bitCount(child.own), bitCount(child.opp));
  return forSideToMove(child, eval_.childScore(family, child.state, child.black(), child.white(), empty, child.side));
}

// An evaluation from black's point of view for the side to move, or 0 with
// the abort marker set when it failed.
template <SearchEvaluator Eval>
int MidgameSearch<Eval>::forSideToMove(const Node& node, int value) {
  if (isMarker(value)) {
    thread_.abortReason = value;
    return 0;
  }
  return node.side == kWhite ? -value : value;
}

// Reports the share of the root move being searched that a node one ply
// below the root has finished; the value never goes back.
template <SearchEvaluator Eval>
void MidgameSearch<Eval>::reportShare(int done, int total) {
  SearchContext& search = *thread_.reportsFor;
  RootProgress& root = search.root;
  const int value = root.base + static_cast<int>(static_cast<std::int64_t>(root.span) * done / total);
  if (value <= root.shown) return;
  root.shown = value;
  search.setup.progress->report(value, search);
}

// One ply above the leaves: every child is scored as it is made, with no
// null windows (a leaf costs the same whatever the window), from what the
// node's family of leaves shares.
template <SearchEvaluator Eval>
int MidgameSearch<Eval>::leafParent(const Node& node, Bits empty, Bits moves, int alpha, int beta) {
  const typename Eval::Family family = eval_.familyOf(bitCount(empty) - 1);
  int best = kNoValue;
  for (; moves != 0; moves &= moves - 1) {
    const int square = lowestSquare(moves);
    const Bits bit = squareBit(square);
    ++thread_.nodeCount;
    const int value = -childLeafValue(node.child(square, bitFlips(node.own, node.opp, square)), empty ^ bit, family);
    if (thread_.abortReason != 0) return 0;
    if (value > best) {
      best = value;
      if (value > alpha) {
        if (value >= beta) break;
        alpha = value;
      }
    }
  }
  return best;
}

// The ProbCut step at a node's entry: the shallow search of the node's
// pair asks, with a null window each, whether the deep value would clear
// beta or stay under alpha with the side's confidence. True with `value`
// (the bound passed, or anything once the search aborts) when the node is
// cut.
template <SearchEvaluator Eval>
bool MidgameSearch<Eval>::probCut(const Node& node, int depth, int empties, int alpha, int beta, int& value) {
  const ProbCut& cut = thread_.setup->probCut;
  ProbCutPair pair;
  if (depth > cut.maxDepth || empties <= cut.aboveEmpties || !cut.table->pairFor(empties, depth, pair)) return false;
  const ProbCutBounds bounds = probCutBounds(pair, cut.confidence, alpha, beta);
  if (bounds.high != SCORE_INF) {
    const int shallow = search(node, pair.shallow, bounds.high - 1, bounds.high);
    if (thread_.abortReason != 0 || shallow >= bounds.high) {
      value = beta;
      return true;
    }
  }
  if (bounds.low != -SCORE_INF) {
    const int shallow = search(node, pair.shallow, bounds.low, bounds.low + 1);
    if (thread_.abortReason != 0 || shallow <= bounds.low) {
      value = alpha;
      return true;
    }
  }
  return false;
}

template <SearchEvaluator Eval>
int MidgameSearch<Eval>::search(const Node& node, int depth, int alpha, int beta, Bits known) {
  const Bits own = node.own, opp = node.opp;
  const int side = node.side;
  const Bits empty = thread_.rootEmpty & ~(own | opp);
  ++thread_.nodeCount;
  if (depth <= 0) return leafValue(node, empty);
  const int empties = bitCount(empty);
  if (depth >= empties) return solveExact(thread_, own, opp, empty, alpha, beta);
  if (searchAborted(thread_)) return 0;
  Bits moves = movesOrKnown(own, opp, empty, known);
  if (moves == 0) {
    if (bitLegalMoves(opp, own, empty) == 0) {
      ++thread_.leafCount;
      return scoreFinal(bitCount(own), bitCount(opp));
    }
    return -search(node.passed(), depth, -beta, -alpha);
  }
  if (depth == 1) return leafParent(node, empty, moves, alpha, beta);
  // From two plies up the table: just above the leaves a look-up would cost
  // what it saves.
  const SearchSetup& setup = *thread_.setup;
  SearchTable* table = setup.table;
  const NodeLookup lookUp = lookUpNode(thread_, table, own, opp, side, depth, alpha, beta);
  if (lookUp.probe.settled) return lookUp.probe.value;
  const int first = lookUp.probe.move;
  if (setup.probCut.table != nullptr) {
    if (int value; probCut(node, depth, empties, alpha, beta, value)) return value;
  }
  MoveOrder order;
  if (depth >= kSortDepth) {
    thread_.orderCount += orderMoves(own, opp, empty, moves, first, order);
  } else {
    // The table's move first, the others in square order.
    if (first >= 0 && (moves & squareBit(first)) != 0) {
      order.moves[order.count++] = {first, 0, bitFlips(own, opp, first), kRepliesUnknown};
      moves ^= squareBit(first);
    }
    for (; moves != 0; moves &= moves - 1) {
      const int square = lowestSquare(moves);
      order.moves[order.count++] = {square, 0, bitFlips(own, opp, square), kRepliesUnknown};
    }
  }
  // The children two plies or more above the leaves look up the table: ask
  // for their buckets now, so that they are in the cache by their turn.
  if (table != nullptr && depth >= 3) {
    for (int i = 0; i < order.count; ++i) {
      const OrderedMove& move = order.moves[i];
      table->prefetch(SearchTable::keyOf(opp & ~move.flips, own | move.flips | squareBit(move.square)));
    }
  }
  const bool reports =
      thread_.reportsFor != nullptr && depth == thread_.reportsFor->root.depth - 1 && depth >= setup.progressDepth;
  const Eval& eval = eval_;
  const MoveLoopResult result = searchMoves(
      thread_, order, alpha, beta, depth >= kShareDepth,
      [&](SearchThread& searching, int index, int low, int high) {
        const OrderedMove& move = order.moves[index];
        return -MidgameSearch(searching, eval)
                    .search(node.child(move.square, move.flips), depth - 1, -high, -low, move.replies);
      },
      [&](int done) {
        if (reports) reportShare(done, order.count);
      });
  if (thread_.abortReason != 0) return 0;
  if (table != nullptr) table->store(lookUp.key, side, depth, alpha, beta, result.best, result.bestMove);
  return result.best;
}

// One compiled search for every alternative of EvaluatorKinds.
template class MidgameSearch<SimpleEvaluator>;
template class MidgameSearch<PatternEvaluator>;

int searchMidgame(SearchThread& thread, Bits own, Bits opp, int side, int depth, int alpha, int beta) {
  return thread.setup->evaluator->visit([&](const auto& eval) {
    using Eval = std::decay_t<decltype(eval)>;
    return MidgameSearch<Eval>(thread, eval).search(SearchNode<Eval>::root(eval, own, opp, side), depth, alpha, beta);
  });
}

}  // namespace kaimo
