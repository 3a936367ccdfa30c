#include "engine/search/midgame_search.h"

#include <algorithm>

#include "engine/eval/eval_simple_bits.h"
#include "engine/eval/score.h"
#include "engine/search/endgame_solver.h"
#include "engine/search/move_order.h"
#include "engine/search/search_table.h"

namespace kaimo {
namespace {

constexpr int kNoValue = -SCORE_INF;
// Nodes with this many plies left or more sort their moves by the
// opponent's replies. Two plies above the leaves the sort costs more than the
// cutoffs it brings (measured on the bench: a third more time).
constexpr int kSortDepth = 3;

int leafValue(SearchContext& context, Bits own, Bits opp, int side, Bits empty) {
  ++context.leafCount;
  const Bits black = side == kBlack ? own : opp;
  const Bits white = side == kBlack ? opp : own;
  int value;
  if (empty == 0) {
    return scoreFinal(bitCount(own), bitCount(opp));
  } else if (context.evaluate == evalSimple) {
    value = evalSimpleBits(black, white, empty);
  } else {
    // Other evaluations read a Board: built at the leaf only.
    Board board;
    fromBits({black, white, empty}, board);
    DiscCounts counts{bitCount(black), bitCount(white), bitCount(empty)};
    value = context.evaluate(board, 0, side, counts);
    if (isMarker(value)) {
      context.abortMarker = value;
      return 0;
    }
  }
  return side == kWhite ? -value : value;
}

// Reports the share of the root move being searched that a node one ply
// below the root has finished; the value never goes back.
void reportShare(SearchContext& context, int done, int total) {
  if (context.progress == nullptr) return;
  const int value =
      context.progressBase + static_cast<int>(static_cast<std::int64_t>(context.progressSpan) * done / total);
  if (value <= context.progressShown) return;
  context.progressShown = value;
  context.progress(value, &context);
}

// One ply above the leaves: every child is scored as it is made, with no
// null windows (a leaf costs the same whatever the window).
int leafParent(SearchContext& context, Bits own, Bits opp, int side, Bits empty, Bits moves, int alpha, int beta) {
  int best = kNoValue;
  for (; moves != 0; moves &= moves - 1) {
    const int square = lowestSquare(moves);
    const Bits bit = squareBit(square);
    const Bits flips = bitFlips(own, opp, square);
    ++context.nodeCount;
    const int value = -leafValue(context, opp & ~flips, own | flips | bit, opponentOf(side), empty ^ bit);
    if (context.abortMarker != 0) return 0;
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

}  // namespace

int searchMidgame(SearchContext& context, Bits own, Bits opp, int side, int depth, int alpha, int beta) {
  const Bits empty = context.rootEmpty & ~(own | opp);
  ++context.nodeCount;
  if (depth <= 0) return leafValue(context, own, opp, side, empty);
  const int empties = bitCount(empty);
  if (depth >= empties) return solveExact(context, own, opp, empty, alpha, beta);
  if (searchAborted(context)) return 0;
  Bits moves = bitLegalMoves(own, opp, empty);
  if (moves == 0) {
    if (bitLegalMoves(opp, own, empty) == 0) {
      ++context.leafCount;
      return scoreFinal(bitCount(own), bitCount(opp));
    }
    return -searchMidgame(context, opp, own, opponentOf(side), depth, -beta, -alpha);
  }
  if (depth == 1) return leafParent(context, own, opp, side, empty, moves, alpha, beta);
  // From two plies up the table: just above the leaves a look-up would cost
  // what it saves.
  SearchTable* table = context.table;
  int first = -1;
  if (table != nullptr) {
    if (const TableEntry* entry = table->find(own, opp, side, depth)) {
      if (int value; entrySettles(*entry, alpha, beta, value)) {
        ++context.hashCutoffs;
        return value;
      }
      first = entry->move;
    } else {
      first = table->move(own, opp, side);
    }
  }
  MoveOrder order;
  if (depth >= kSortDepth) {
    context.orderCount += orderMoves(own, opp, empty, moves, first, order);
  } else {
    // The table's move first, the others in square order.
    if (first >= 0 && (moves & squareBit(first)) != 0) {
      order.moves[order.count++] = {first, 0, bitFlips(own, opp, first)};
      moves ^= squareBit(first);
    }
    for (; moves != 0; moves &= moves - 1) {
      const int square = lowestSquare(moves);
      order.moves[order.count++] = {square, 0, bitFlips(own, opp, square)};
    }
  }
  const bool reports = depth == context.rootDepth - 1 && depth >= context.progressDepth;
  int best = kNoValue;
  int bestMove = -1;
  int low = alpha;
  for (int i = 0; i < order.count; ++i) {
    const OrderedMove& move = order.moves[i];
    const Bits bit = squareBit(move.square);
    const Bits childOwn = opp & ~move.flips;
    const Bits childOpp = own | move.flips | bit;
    const int childSide = opponentOf(side);
    int value;
    if (i == 0) {
      value = -searchMidgame(context, childOwn, childOpp, childSide, depth - 1, -beta, -low);
    } else {
      value = -searchMidgame(context, childOwn, childOpp, childSide, depth - 1, -low - 1, -low);
      if (value > low && value < beta) {
        value = -searchMidgame(context, childOwn, childOpp, childSide, depth - 1, -beta, -low);
      }
    }
    if (context.abortMarker != 0) return 0;
    if (reports) reportShare(context, i + 1, order.count);
    if (value > best) {
      best = value;
      if (value > low) {
        bestMove = move.square;
        low = value;
        if (low >= beta) break;
      }
    }
  }
  if (table != nullptr) table->store(own, opp, side, depth, alpha, beta, best, bestMove);
  return best;
}

}  // namespace kaimo
