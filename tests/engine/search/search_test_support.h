// Helpers shared by the search tests: boards from the text form, counts,
// the fail-soft bounds of a value, evaluation functions with a known
// behaviour, and a ProbCut table that cuts often.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "engine/board/board.h"
#include "engine/eval/evaluator.h"
#include "engine/eval/score.h"
#include "engine/search/probcut.h"
#include "tests/engine/search/reference_minimax.h"

namespace kaimo::testing {

// A board in the ten-line text form (x black, o white, . empty, - wall).
inline Board boardFromText(const char* text) {
  Board b;
  b.fill(kWall);
  std::FILE* stream = fmemopen(const_cast<char*>(text), std::strlen(text), "r");
  EXPECT_NE(stream, nullptr);
  if (stream == nullptr) return b;
  EXPECT_EQ(boardReadText(b, stream), 0) << text;
  std::fclose(stream);
  return b;
}

// Black at c1 makes white pass and plays e1 as well: 6 discs to 1.
inline constexpr const char* kPassBoardText =
    "xo.o.x----\n----------\n----------\n----------\n----------\n"
    "----------\n----------\n----------\n----------\n---------o\n";
// Black's only move, a3, flips a2: three discs each, a draw.
inline constexpr const char* kDrawBoardText =
    "x---------\no---------\n.---------\n----------\n----------\n"
    "---------o\n----------\n---------o\n----------\n---------o\n";

inline DiscCounts countsOf(const Board& b) {
  DiscCounts counts;
  boardCount(b, counts);
  return counts;
}

// "狐" without its data: every evaluation of a position of 84 empty squares
// or fewer fails (a read that reaches the end never calls it).
inline Evaluator failingEvaluator() {
  return PatternEvaluator(std::make_shared<const PatternData>("kaimo-no-such-data-folder"));
}

// A fail-soft value in (alpha, beta) against the exact value: at most alpha
// only when the value is at most that, at least beta only when the value is
// at least that, and exact in between.
inline ::testing::AssertionResult keepsFailSoftBounds(int result, int alpha, int beta, int exact) {
  const bool kept = result <= alpha ? exact <= result : result >= beta ? exact >= result : exact == result;
  if (kept) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << result << " in (" << alpha << ", " << beta << ") for the value " << exact;
}

// Every pair predicts the deep value exactly: a cut at the first shallow
// result outside the window.
inline ProbCutTable rashProbCutTable() {
  ProbCutTable table(1, 96, 3, 8);
  for (int depth = 3; depth <= 8; ++depth) table.at(0, depth) = {depth - 2, 1.0, 0, 1};
  return table;
}

}  // namespace kaimo::testing
