// The value of a position played out to the end, computed the obvious way:
// negamax over every line in square order, a pass when the side has no move,
// and the game's own scoring (scoreFinal, from the mover's point of view) once
// neither side can move. The alpha-beta window only prunes; with the full
// window the result is the exact value. Moves come from the board core, which
// its own tests hold against the loop-based reference board.
#pragma once

#include <algorithm>
#include <random>
#include <vector>

#include "engine/eval/evaluator.h"
#include "engine/eval/score.h"
#include "tests/common/plain_board.h"

namespace kaimo::testing {

// The simple evaluation, for searches that keep a reference to their evaluator.
inline const Evaluator kSimpleEvaluator{};

inline int discsOf(const Board& b, int colour) {
  DiscCounts counts;
  plain::count(b, counts);
  return counts[colour];
}

inline int referenceValue(const Board& b, int side, int alpha, int beta) {
  Board child;
  bool moved = false;
  for (int s = 0; s < kSquareCount; ++s) {
    if (b[s] != kEmpty || boardPlay(b, child, s, side) <= 1) continue;
    moved = true;
    alpha = std::max(alpha, -referenceValue(child, 1 - side, -beta, -alpha));
    if (alpha >= beta) return alpha;
  }
  if (moved) return alpha;
  if (boardMobility(b, 1 - side) == 0)
    return std::clamp(scoreFinal(discsOf(b, side), discsOf(b, 1 - side)), alpha, beta);
  return -referenceValue(b, 1 - side, -beta, -alpha);
}

// The exact value for `side`, assuming `side` has a move.
inline int referenceValue(const Board& b, int side) { return referenceValue(b, side, -SCORE_INF, SCORE_INF); }

inline int emptiesOf(const Board& b) { return static_cast<int>(std::count(b.begin(), b.end(), kEmpty)); }

// A board of black, white and wall squares (walls with probability
// wallPercent / 100, black with blackPercent / 100 of the rest) with exactly
// `empties` empty squares at random places.
inline Board randomEndgame(std::mt19937& rng, int empties, int wallPercent, int blackPercent) {
  Board b;
  std::uniform_int_distribution<int> percent(0, 99);
  for (auto& square : b) {
    if (percent(rng) < wallPercent) {
      square = kWall;
    } else {
      square = percent(rng) < blackPercent ? kBlack : kWhite;
    }
  }
  std::vector<int> squares(kSquareCount);
  for (int s = 0; s < kSquareCount; ++s) squares[s] = s;
  std::shuffle(squares.begin(), squares.end(), rng);
  for (int i = 0; i < empties; ++i) b[squares[i]] = kEmpty;
  return b;
}

}  // namespace kaimo::testing

namespace kaimo::testing {

// A read of `depth` plies the plain way: every line in square order, the
// leaves scored by `evaluate` from the mover's point of view (a full board
// by its discs), a pass costing no ply, a game that ends scored by
// scoreFinal. The value a normal read of that depth must give.
inline int referenceDepthValue(const Board& b, int side, int depth, const Evaluator& evaluator, int alpha, int beta) {
  if (depth == 0) {
    DiscCounts counts;
    boardCount(b, counts);
    if (counts[2] == 0) return std::clamp(scoreFinal(counts[side], counts[1 - side]), alpha, beta);
    const int value = evaluator.evaluate(b, 0, side, counts);
    return std::clamp(side == kWhite ? -value : value, alpha, beta);
  }
  Board child;
  bool moved = false;
  for (int s = 0; s < kSquareCount; ++s) {
    if (b[s] != kEmpty || boardPlay(b, child, s, side) <= 1) continue;
    moved = true;
    alpha = std::max(alpha, -referenceDepthValue(child, 1 - side, depth - 1, evaluator, -beta, -alpha));
    if (alpha >= beta) return alpha;
  }
  if (moved) return alpha;
  if (boardMobility(b, 1 - side) == 0)
    return std::clamp(scoreFinal(discsOf(b, side), discsOf(b, 1 - side)), alpha, beta);
  return -referenceDepthValue(b, 1 - side, depth, evaluator, -beta, -alpha);
}

inline int referenceDepthValue(const Board& b, int side, int depth, const Evaluator& evaluator) {
  return referenceDepthValue(b, side, depth, evaluator, -SCORE_INF, SCORE_INF);
}

}  // namespace kaimo::testing
