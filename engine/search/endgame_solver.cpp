#include "engine/search/endgame_solver.h"

#include <algorithm>

#include "engine/board/last_flips.h"
#include "engine/eval/score.h"
#include "engine/search/evaluation_order.h"
#include "engine/search/guessed_window.h"
#include "engine/search/move_loop.h"
#include "engine/search/move_order.h"
#include "engine/search/search_table.h"
#include "engine/search/stable_discs.h"

namespace kaimo {
namespace {

// From this many empty squares up a node keeps its bounds in the table: below
// it a node costs less than the look-up saves.
constexpr int kTableEmpties = 7;
// From this many empty squares up moves are sorted, below it they go in the
// quadrant parity order. Below kFullKeyEmpties the sort is by the
// opponent's replies alone (fewestRepliesKey): as few nodes as with the
// whole fastest-first key there, for less work (measured: see "Tunables of
// the exact solver" in docs/benchmarks.md).
constexpr int kSortEmpties = 6;
constexpr int kFullKeyEmpties = 8;
// From this many empty squares up a node first looks up its children: one
// whose bound already proves the cutoff saves the search (the enhanced
// transposition cutoff).
constexpr int kChildCutoffEmpties = 10;
// From this many empty squares up the moves are ordered by a read of "狐"
// one ply below each, from kDeeperOrderEmpties by a read of two: below it
// the read costs more than it saves (see docs/benchmarks.md, "Tunables of
// the exact solver").
constexpr int kEvaluationOrderEmpties = 14;
constexpr int kDeeperOrderEmpties = 16;
// From this many empty squares up a node shares its moves with an idle
// thread: a smaller tree costs less than handing it over.
constexpr int kShareEmpties = 12;
// From this many empty squares up a null-window node first bounds its value
// by the opponent's stable discs (see stabilityBound), when alpha is at
// least kStabilityMargin discs above what the side to move could make with
// every opposing disc stable: a count of stable discs costs several nodes,
// and the gate keeps it to the nodes it is likely to cut (see
// docs/benchmarks.md, "Tunables of the exact solver").
constexpr int kStabilityEmpties = 5;
constexpr int kStabilityMargin = 40;
// Up to this many empty squares a null-window node orders its moves before
// it reads its table bucket, while the bucket comes from memory: the read
// waits on it otherwise, and the table seldom has a move to search before
// the order there. Above it the table's move is searched first, alone
// (searchTableMove). Measured: docs/benchmarks.md, "Tunables of the exact
// solver".
constexpr int kOrderWhileProbingEmpties = 10;
// Below any real score: "no move found yet".
constexpr int kNoValue = -SCORE_INF;

constexpr Bits quadrantMask(int firstColumn, int firstRow) {
  Bits mask = 0;
  for (int column = firstColumn; column < firstColumn + 5; ++column) {
    for (int row = firstRow; row < firstRow + 5; ++row) mask |= Bits{1} << (10 * column + row);
  }
  return mask;
}

constexpr Bits kQuadrants[4] = {quadrantMask(0, 0), quadrantMask(0, 5), quadrantMask(5, 0), quadrantMask(5, 5)};

// The quadrants holding an odd number of empty squares: the side that moves
// into one of them is likely to get its last square too.
inline Bits oddQuadrants(Bits empty) {
  Bits odd = 0;
  for (const Bits quadrant : kQuadrants) {
    if (bitCount(empty & quadrant) & 1) odd |= quadrant;
  }
  return odd;
}

inline int finalScore(SearchThread& thread, Bits own, Bits opp) {
  ++thread.leafCount;
  return scoreFinal(bitCount(own), bitCount(opp));
}

// --- the last squares ------------------------------------------------------

// Where the processor runs pext fast, the last square's flips are counted
// from its lines on boards without walls (lastFlipCount).
const bool kCountLastFlips = lastFlipCountRunnable();

// One empty square: whoever can fill it does (the side to move first).
inline int solveOne(SearchThread& thread, Bits own, Bits opp, int square) {
  ++thread.nodeCount;
  ++thread.leafCount;
  const int o = bitCount(own), p = bitCount(opp);
  if (kCountLastFlips && o + p == kSquareCount - 1) {
    if (const int n = lastFlipCount(own, square)) return scoreFinal(o + n + 1, p - n);
    if (const int n = lastFlipCount(opp, square)) return scoreFinal(o - n, p + n + 1);
    return scoreFinal(o, p);
  }
  Bits flips = bitFlips(own, opp, square);
  if (flips != 0) {
    const int n = bitCount(flips);
    return scoreFinal(o + n + 1, p - n);
  }
  flips = bitFlips(opp, own, square);
  if (flips != 0) {
    const int n = bitCount(flips);
    return scoreFinal(o - n, p + n + 1);
  }
  return scoreFinal(o, p);
}

// Two empty squares, null window (alpha, alpha + 1).
int solveTwo(SearchThread& thread, Bits own, Bits opp, int alpha, int a, int b) {
  ++thread.nodeCount;
  int best = kNoValue;
  if (const Bits flips = bitFlips(own, opp, a)) {
    best = -solveOne(thread, opp & ~flips, own | flips | squareBit(a), b);
    if (best > alpha) return best;
  }
  if (const Bits flips = bitFlips(own, opp, b)) {
    return std::max(best, -solveOne(thread, opp & ~flips, own | flips | squareBit(b), a));
  }
  if (best != kNoValue) return best;
  // A pass: the opponent chooses, the lower value for the side to move.
  int worst = -kNoValue;
  if (const Bits flips = bitFlips(opp, own, a)) {
    worst = solveOne(thread, own & ~flips, opp | flips | squareBit(a), b);
    if (worst <= alpha) return worst;
  }
  if (const Bits flips = bitFlips(opp, own, b)) {
    return std::min(worst, solveOne(thread, own & ~flips, opp | flips | squareBit(b), a));
  }
  if (worst != -kNoValue) return worst;
  return finalScore(thread, own, opp);
}

int solveThree(SearchThread& thread, Bits own, Bits opp, int alpha, int a, int b, int c) {
  ++thread.nodeCount;
  const int lines[3][3] = {{a, b, c}, {b, a, c}, {c, a, b}};
  int best = kNoValue;
  for (const auto& line : lines) {
    const Bits flips = bitFlips(own, opp, line[0]);
    if (flips == 0) continue;
    const int value = -solveTwo(thread, opp & ~flips, own | flips | squareBit(line[0]), -alpha - 1, line[1], line[2]);
    if (value > alpha) return value;
    best = std::max(best, value);
  }
  if (best != kNoValue) return best;
  const Bits empty = squareBit(a) | squareBit(b) | squareBit(c);
  if (bitLegalMoves(opp, own, empty) == 0) return finalScore(thread, own, opp);
  return -solveThree(thread, opp, own, -alpha - 1, a, b, c);
}

// The squares of `empty` with those in odd quadrants first.
inline int paritySquares(Bits empty, int* out) {
  const Bits odd = oddQuadrants(empty);
  int n = 0;
  for (Bits part : {empty & odd, empty & ~odd}) {
    while (part != 0) {
      const int square = lowestSquare(part);
      part &= part - 1;
      out[n++] = square;
    }
  }
  return n;
}

int solveFour(SearchThread& thread, Bits own, Bits opp, int alpha, Bits empty) {
  ++thread.nodeCount;
  int squares[4];
  paritySquares(empty, squares);
  const int lines[4][4] = {{squares[0], squares[1], squares[2], squares[3]},
                           {squares[1], squares[0], squares[2], squares[3]},
                           {squares[2], squares[0], squares[1], squares[3]},
                           {squares[3], squares[0], squares[1], squares[2]}};
  int best = kNoValue;
  for (const auto& line : lines) {
    const Bits flips = bitFlips(own, opp, line[0]);
    if (flips == 0) continue;
    const int value =
        -solveThree(thread, opp & ~flips, own | flips | squareBit(line[0]), -alpha - 1, line[1], line[2], line[3]);
    if (value > alpha) return value;
    best = std::max(best, value);
  }
  if (best != kNoValue) return best;
  if (bitLegalMoves(opp, own, empty) == 0) return finalScore(thread, own, opp);
  return -solveFour(thread, opp, own, -alpha - 1, empty);
}

// --- null-window nodes -----------------------------------------------------

// `known` is the side to move's legal moves when the parent's order
// generated them (OrderedMove::replies), else kRepliesUnknown.
int nullWindow(SearchThread& thread, Bits own, Bits opp, Bits empty, int n, int alpha, Bits known);

// The side to move has no move: the opponent moves on the same position, or
// the game is over.
inline int passOrEnd(SearchThread& thread, Bits own, Bits opp, Bits empty, int n, int alpha) {
  if (bitLegalMoves(opp, own, empty) == 0) return finalScore(thread, own, opp);
  return -nullWindow(thread, opp, own, empty, n, -alpha - 1, kRepliesUnknown);
}

// Few empty squares: the moves in parity order.
int nullWindowShallow(SearchThread& thread, Bits own, Bits opp, Bits empty, int n, int alpha, Bits known) {
  ++thread.nodeCount;
  const Bits moves = movesOrKnown(own, opp, empty, known);
  if (moves == 0) return passOrEnd(thread, own, opp, empty, n, alpha);
  const Bits odd = oddQuadrants(empty);
  int best = kNoValue;
  for (Bits part : {moves & odd, moves & ~odd}) {
    while (part != 0) {
      const int square = lowestSquare(part);
      const Bits bit = squareBit(square);
      part ^= bit;
      const Bits flips = bitFlips(own, opp, square);
      const int value =
          -nullWindow(thread, opp & ~flips, own | flips | bit, empty ^ bit, n - 1, -alpha - 1, kRepliesUnknown);
      if (value > alpha) return value;
      best = std::max(best, value);
    }
  }
  return best;
}

int principal(SearchThread& thread, Bits own, Bits opp, Bits empty, int n, int alpha, int beta, Bits known);

// The moves of a node with many empty squares, best first: by "狐" when
// the set-up has its data, else from the masks alone.
inline int orderNode(const SearchThread& thread, Bits own, Bits opp, Bits empty, Bits moves, int first, int n,
                     MoveOrder& order) {
  if (thread.setup->orderer != nullptr && n >= kEvaluationOrderEmpties) {
    const int plies = n >= kDeeperOrderEmpties ? 2 : 1;
    return orderMovesByEvaluation(*thread.setup->orderer, plies, own, opp, empty, moves, first, order);
  }
  if (n < kFullKeyEmpties) return orderMoves<&fewestRepliesKey>(own, opp, empty, moves, first, order);
  return orderMoves(own, opp, empty, moves, first, order);
}

// The value of the move `move` from the side to move's point of view, in
// the window (alpha, beta): the child searched with the window negated.
inline int moveValue(SearchThread& thread, Bits own, Bits opp, Bits empty, int n, const OrderedMove& move, int alpha,
                     int beta) {
  const Bits bit = squareBit(move.square);
  const Bits childOwn = opp & ~move.flips, childOpp = own | move.flips | bit;
  if (beta - alpha == 1) return -nullWindow(thread, childOwn, childOpp, empty ^ bit, n - 1, -beta, move.replies);
  return -principal(thread, childOwn, childOpp, empty ^ bit, n - 1, -beta, -alpha, move.replies);
}

// The table key of the position after `move`, the opponent to move.
inline TableKey childKey(Bits own, Bits opp, const OrderedMove& move) {
  return SearchTable::keyOf(opp & ~move.flips, own | move.flips | squareBit(move.square));
}

// The table's move of a null-window node, searched before the other moves
// are ordered: when it cuts, their flips and replies are never needed.
// Takes the move out of `moves` and returns its value.
inline int searchTableMove(SearchThread& thread, Bits own, Bits opp, Bits empty, int n, int alpha, int move,
                           Bits& moves) {
  const Bits bit = squareBit(move);
  moves ^= bit;
  const Bits flips = bitFlips(own, opp, move);
  return -nullWindow(thread, opp & ~flips, own | flips | bit, empty ^ bit, n - 1, -alpha - 1, kRepliesUnknown);
}

// Many empty squares: the table (its move first), and the other moves
// sorted fastest first.
int nullWindowDeep(SearchThread& thread, Bits own, Bits opp, Bits empty, int n, int alpha, Bits known) {
  ++thread.nodeCount;
  if (searchAborted(thread)) return 0;
  SearchTable* table = n >= kTableEmpties ? thread.setup->table : nullptr;
  TableKey key{};
  if (table != nullptr) {
    key = SearchTable::keyOf(own, opp);
    table->prefetch(key);  // early: the look-up below waits for it
  }
  Bits moves = movesOrKnown(own, opp, empty, known);
  if (moves == 0) return passOrEnd(thread, own, opp, empty, n, alpha);
  MoveOrder order;
  const bool orderWhileProbing = n <= kOrderWhileProbingEmpties;
  if (orderWhileProbing) thread.orderCount += orderNode(thread, own, opp, empty, moves, -1, n, order);
  int first = -1;
  if (table != nullptr) {
    const NodeProbe probe = probeNode(thread, *table, key, kExactTableSide, n, alpha, alpha + 1);
    if (probe.settled) return probe.value;
    first = probe.move;
  }
  int tableMoveValue = kNoValue;
  if (orderWhileProbing) {
    if (first >= 0) order.moveToFront(first);
  } else {
    if (first >= 0 && (moves & squareBit(first)) != 0) {
      tableMoveValue = searchTableMove(thread, own, opp, empty, n, alpha, first, moves);
      if (thread.abortReason != 0) return 0;
      if (tableMoveValue > alpha || moves == 0) {
        table->store(key, kExactTableSide, n, alpha, alpha + 1, tableMoveValue, first);
        return tableMoveValue;
      }
    }
    thread.orderCount += orderNode(thread, own, opp, empty, moves, -1, n, order);
  }
  if (table != nullptr && n > kChildCutoffEmpties) {
    // A child already known to be worth less than the window to the
    // opponent proves the cutoff without a search. Every child's bucket is
    // asked for before the first is read: the misses overlap.
    TableKey keys[kSquareCount];
    for (int i = 0; i < order.count; ++i) {
      keys[i] = childKey(own, opp, order.moves[i]);
      table->prefetch(keys[i]);
    }
    for (int i = 0; i < order.count; ++i) {
      TableHit child;
      if (table->probe(keys[i], kExactTableSide, child) && child.depth == n - 1 && child.upper < -alpha) {
        ++thread.hashCutoffs;
        return -child.upper;
      }
    }
  }
  const MoveLoopResult result = searchMoves(
      thread, order, alpha, alpha + 1, n >= kShareEmpties,
      [&](SearchThread& searching, int index, int low, int high) {
        // The next child's bucket comes from memory while this child is
        // searched (its own look-up starts too late to hide the wait).
        if (table != nullptr && n > kTableEmpties && index + 1 < order.count) {
          table->prefetch(childKey(own, opp, order.moves[index + 1]));
        }
        return moveValue(searching, own, opp, empty, n, order.moves[index], low, high);
      },
      noReport);
  if (thread.abortReason != 0) return 0;
  const int best = std::max(result.best, tableMoveValue);
  if (table != nullptr) table->store(key, kExactTableSide, n, alpha, alpha + 1, best, result.bestMove);
  return best;
}

// The stability cutoff. The opponent's stable discs stay its own to the
// end, so the side to move finishes with at most the other squares: its
// margin is at most (squares - 2 * stable) discs, and when that is at or
// below alpha the null window fails low without a search.
inline bool stabilityBound(Bits own, Bits opp, Bits empty, int alpha, int& bound) {
  const int squares = bitCount(own | opp | empty);
  if ((squares - 2 * bitCount(opp) + kStabilityMargin) * SCORE_PER_DISC > alpha) return false;
  const int stable = bitCount(stableDiscs(opp, own, empty));
  bound = (squares - 2 * stable) * SCORE_PER_DISC;
  return stable > 0 && bound <= alpha;
}

int nullWindow(SearchThread& thread, Bits own, Bits opp, Bits empty, int n, int alpha, Bits known) {
  if (int bound; n >= kStabilityEmpties && stabilityBound(own, opp, empty, alpha, bound)) {
    ++thread.nodeCount;
    return bound;
  }
  if (n >= kSortEmpties) return nullWindowDeep(thread, own, opp, empty, n, alpha, known);
  if (n > 4) return nullWindowShallow(thread, own, opp, empty, n, alpha, known);
  int squares[4];
  switch (n) {
    case 4: return solveFour(thread, own, opp, alpha, empty);
    case 3:
      paritySquares(empty, squares);
      return solveThree(thread, own, opp, alpha, squares[0], squares[1], squares[2]);
    case 2: paritySquares(empty, squares); return solveTwo(thread, own, opp, alpha, squares[0], squares[1]);
    case 1: return solveOne(thread, own, opp, lowestSquare(empty));
    default: ++thread.nodeCount; return finalScore(thread, own, opp);
  }
}

// --- principal-variation nodes ---------------------------------------------

// A wide window: the first move with the window, the others with a null
// window first and again with the window only when they beat the best.
int principal(SearchThread& thread, Bits own, Bits opp, Bits empty, int n, int alpha, int beta, Bits known) {
  if (beta - alpha <= 1) return nullWindow(thread, own, opp, empty, n, alpha, known);
  ++thread.nodeCount;
  if (n == 0) return finalScore(thread, own, opp);
  if (searchAborted(thread)) return 0;
  const Bits moves = movesOrKnown(own, opp, empty, known);
  if (moves == 0) {
    if (bitLegalMoves(opp, own, empty) == 0) return finalScore(thread, own, opp);
    return -principal(thread, opp, own, empty, n, -beta, -alpha, kRepliesUnknown);
  }
  SearchTable* table = n >= kTableEmpties ? thread.setup->table : nullptr;
  const NodeLookup lookUp = lookUpNode(thread, table, own, opp, kExactTableSide, n, alpha, beta);
  if (lookUp.probe.settled) return lookUp.probe.value;
  MoveOrder order;
  thread.orderCount += orderNode(thread, own, opp, empty, moves, lookUp.probe.move, n, order);
  const MoveLoopResult result = searchMoves(
      thread, order, alpha, beta, n >= kShareEmpties,
      [&](SearchThread& searching, int index, int low, int high) {
        return moveValue(searching, own, opp, empty, n, order.moves[index], low, high);
      },
      noReport);
  if (thread.abortReason != 0) return 0;
  if (table != nullptr) table->store(lookUp.key, kExactTableSide, n, alpha, beta, result.best, result.bestMove);
  return result.best;
}

}  // namespace

int solveExact(SearchThread& thread, Bits own, Bits opp, Bits empty, int alpha, int beta) {
  return principal(thread, own, opp, empty, bitCount(empty), alpha, beta, kRepliesUnknown);
}

int solveExactNear(SearchThread& thread, Bits own, Bits opp, Bits empty, int guess) {
  return readAroundGuess(
      thread, guess, -SCORE_INF, SCORE_INF,
      [&](int alpha, int beta) { return solveExact(thread, own, opp, empty, alpha, beta); }, [] {});
}

}  // namespace kaimo
