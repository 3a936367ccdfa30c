#include "engine/search/endgame_solver.h"

#include "engine/eval/score.h"
#include "engine/search/empties.h"

namespace kaimo {
namespace {

// Raises `best` and the window by a move's value; true means a cutoff.
inline bool improve(int value, int& best, int& alpha, int beta) {
  if (value <= best) return false;
  best = value;
  if (value <= alpha) return false;
  if (value >= beta) return true;
  alpha = value;
  return false;
}

// The first `want` squares of the list that are empty on the board. The
// solvers trust the list to name every empty square; should one be missing,
// the board itself is scanned, so no square is silently skipped. Returns how
// many were found (fewer than `want` only when the counts are wrong too).
int firstEmpties(const Board& board, const std::int8_t* list, int want, int* out) {
  int found = 0;
  for (; *list >= 0 && found < want; ++list) {
    if (board[*list] == kEmpty) out[found++] = *list;
  }
  if (found == want) return found;
  found = 0;
  for (int s = 0; s < kSquareCount && found < want; ++s) {
    if (board[s] == kEmpty) out[found++] = s;
  }
  return found;
}

// The move of `side` has left one square empty: the opponent fills it if it
// can, else the side itself, else nobody and the game ends with it empty.
// `own` and `opponent` are the counts after the move. Every end of the game
// is scored with the wipe-out rule, a full board too (see scorePlayedOut).
// Only flips are counted: the last position is never built.
inline int lastSquareValue(const Board& child, int side, int last, int own, int opponent) {
  if (child[last] != kEmpty) return scoreFinal(own, opponent);  // not a square left to fill
  const int reply = boardFlipCount(child, last, opponentOf(side));
  if (reply > 1) return scorePlayedOut(own - reply + 1, opponent + reply);
  const int again = boardFlipCount(child, last, side);
  if (again > 1) return scorePlayedOut(own + again, opponent - again + 1);
  return scoreFinal(own, opponent);
}

// Depth 0: the exact margin on a full board, otherwise the evaluation.
int solveLeaf(const Board& board, int side, EvalFunc evaluate, std::int64_t& leafCount, const DiscCounts& counts) {
  ++leafCount;
  if (counts[2] == 0) return scorePlayedOut(counts[side], counts[opponentOf(side)]);
  // An evaluation may use its counts as scratch; the caller's counts are
  // restored by arithmetic and must come back untouched.
  DiscCounts scratch = counts;
  const int value = evaluate(board, 0, side, scratch);
  if (isMarker(value)) return value;
  return side == kWhite ? -value : value;
}

// Makes the move's change to the counts: the mover gains the placed disc and
// the flips, the opponent loses the flips, one square fewer is empty.
inline void applyMove(DiscCounts& counts, int side, int played) {
  counts[side] += played;
  counts[opponentOf(side)] -= played - 1;
  counts[2] -= 1;
}

inline void undoMove(DiscCounts& counts, int side, int played) {
  counts[side] -= played;
  counts[opponentOf(side)] += played - 1;
  counts[2] += 1;
}

using ChildSolver = int (*)(const Board& child, int side, int depth, int alpha, int beta, EvalFunc evaluate,
                            std::int64_t& leafCount, const std::int8_t* empties, DiscCounts& counts);

int solveChildGeneral(const Board& child, int side, int depth, int alpha, int beta, EvalFunc evaluate,
                      std::int64_t& leafCount, const std::int8_t* empties, DiscCounts& counts) {
  return solveEndgame(child, side, depth, alpha, beta, evaluate, leafCount, empties, counts);
}

int solveChildLastPly(const Board& child, int side, int /*depth*/, int alpha, int beta, EvalFunc evaluate,
                      std::int64_t& leafCount, const std::int8_t* empties, DiscCounts& counts) {
  return solveLastPly(child, side, alpha, beta, evaluate, leafCount, empties, counts);
}

// Every move of `side` in list order, each child solved by `solveChild`; a
// pass searches the same child for `side` again, a double pass ends the game.
// A list that names fewer empty squares than the board has (the callers'
// lists never should) is replaced by the board's own, and the node read again.
template <ChildSolver solveChild>
int solveMoves(const Board& board, int side, int depth, int alpha, int beta, EvalFunc evaluate,
               std::int64_t& leafCount, const std::int8_t* empties, DiscCounts& counts, bool listChecked = false) {
  const int opponent = opponentOf(side);
  const int windowAlpha = alpha;
  int best = SCORE_NO_MOVE;
  int seen = 0;
  Board child;
  for (const std::int8_t* p = empties; *p >= 0; ++p) {
    if (board[*p] != kEmpty) continue;
    ++seen;
    const int played = boardPlay(board, child, *p, side);
    if (played <= 1) continue;
    applyMove(counts, side, played);
    int value = solveChild(child, opponent, depth - 1, -beta, -alpha, evaluate, leafCount, empties, counts);
    if (isMarker(value)) return value;
    if (value == SCORE_NO_MOVE) {
      value = solveChild(child, side, depth - 1, alpha, beta, evaluate, leafCount, empties, counts);
      if (isMarker(value)) return value;
      if (value == SCORE_NO_MOVE) {
        value = scoreFinal(counts[side], counts[opponent]);
        ++leafCount;
      }
    } else {
      value = -value;
    }
    undoMove(counts, side, played);
    if (improve(value, best, alpha, beta)) return value;
  }
  if (seen < counts[2] && !listChecked) {
    std::int8_t full[kEmptiesCapacity];
    buildEmpties(board, full);
    return solveMoves<solveChild>(board, side, depth, windowAlpha, beta, evaluate, leafCount, full, counts, true);
  }
  return best;
}

// The last ply when more than one square is empty: every move of `side`,
// each child scored by the evaluation. Checks its list as solveMoves does.
int evaluateMoves(const Board& board, int side, int alpha, int beta, EvalFunc evaluate, std::int64_t& leafCount,
                  const std::int8_t* empties, const DiscCounts& counts, bool listChecked = false) {
  const int opponent = opponentOf(side);
  const int windowAlpha = alpha;
  int best = SCORE_NO_MOVE;
  int seen = 0;
  Board child;
  for (const std::int8_t* p = empties; *p >= 0; ++p) {
    if (board[*p] != kEmpty) continue;
    ++seen;
    const int played = boardPlay(board, child, *p, side);
    if (played <= 1) continue;
    ++leafCount;
    DiscCounts childCounts = counts;
    applyMove(childCounts, side, played);
    int value = evaluate(child, 0, opponent, childCounts);
    if (isMarker(value)) return value;
    if (side == kWhite) value = -value;
    if (improve(value, best, alpha, beta)) return value;
  }
  if (seen < counts[2] && !listChecked) {
    std::int8_t full[kEmptiesCapacity];
    buildEmpties(board, full);
    return evaluateMoves(board, side, windowAlpha, beta, evaluate, leafCount, full, counts, true);
  }
  return best;
}

}  // namespace

int solveEndgame(const Board& board, int side, int depth, int alpha, int beta, EvalFunc evaluate,
                 std::int64_t& leafCount, const std::int8_t* empties, DiscCounts& counts) {
  int squares[3];
  if (depth == 3 && counts[2] == 3 && firstEmpties(board, empties, 3, squares) == 3) {
    return solveThreeEmpties(board, side, alpha, beta, leafCount, squares[0], squares[1], squares[2], counts);
  }
  if (depth == 2 && counts[2] == 2 && firstEmpties(board, empties, 2, squares) == 2) {
    return solveTwoEmpties(board, side, alpha, beta, leafCount, squares[0], squares[1], counts[side],
                           counts[opponentOf(side)]);
  }
  if (depth == 2) {
    return solveMoves<solveChildLastPly>(board, side, depth, alpha, beta, evaluate, leafCount, empties, counts);
  }
  if (depth <= 0) return solveLeaf(board, side, evaluate, leafCount, counts);
  // Deeper calls need not scan the filled squares at the head of the list.
  while (*empties >= 0 && board[*empties] != kEmpty) ++empties;
  return solveMoves<solveChildGeneral>(board, side, depth, alpha, beta, evaluate, leafCount, empties, counts);
}

int solveLastPly(const Board& board, int side, int alpha, int beta, EvalFunc evaluate, std::int64_t& leafCount,
                 const std::int8_t* empties, const DiscCounts& counts) {
  if (counts[2] == 1) {
    int last;
    if (firstEmpties(board, empties, 1, &last) != 1) return SCORE_NO_MOVE;
    const int played = boardFlipCount(board, last, side);
    if (played <= 1) return SCORE_NO_MOVE;
    ++leafCount;
    return scorePlayedOut(counts[side] + played, counts[opponentOf(side)] - played + 1);
  }
  return evaluateMoves(board, side, alpha, beta, evaluate, leafCount, empties, counts);
}

int solveTwoEmpties(const Board& board, int side, int alpha, int beta, std::int64_t& leafCount, int square1,
                    int square2, int own, int opponent) {
  int best = SCORE_NO_MOVE;
  Board child;
  int played = boardPlay(board, child, square1, side);
  if (played > 1) {
    ++leafCount;
    const int value = lastSquareValue(child, side, square2, own + played, opponent - played + 1);
    if (improve(value, best, alpha, beta)) return value;
  }
  played = boardPlay(board, child, square2, side);
  if (played <= 1) return best;
  ++leafCount;
  const int value = lastSquareValue(child, side, square1, own + played, opponent - played + 1);
  return value > best ? value : best;
}

int solveThreeEmpties(const Board& board, int side, int alpha, int beta, std::int64_t& leafCount, int square1,
                      int square2, int square3, const DiscCounts& counts) {
  const int own = counts[side];
  const int opponent = counts[opponentOf(side)];
  // Each first move, with the two squares it leaves in list order.
  const int lines[3][3] = {{square1, square2, square3}, {square2, square1, square3}, {square3, square1, square2}};
  int best = SCORE_NO_MOVE;
  Board child;
  for (const auto& line : lines) {
    const int played = boardPlay(board, child, line[0], side);
    if (played <= 1) continue;
    const int ownAfter = own + played;
    const int opponentAfter = opponent - played + 1;
    int value = solveTwoEmpties(child, opponentOf(side), -beta, -alpha, leafCount, line[1], line[2], opponentAfter,
                                ownAfter);
    if (value == SCORE_NO_MOVE) {
      value = solveTwoEmpties(child, side, alpha, beta, leafCount, line[1], line[2], ownAfter, opponentAfter);
      if (value == SCORE_NO_MOVE) {
        value = scoreFinal(ownAfter, opponentAfter);
        ++leafCount;
      }
    } else {
      value = -value;
    }
    if (improve(value, best, alpha, beta)) return value;
  }
  return best;
}

}  // namespace kaimo
