// Helpers shared by the search tests: boards from the text form, counts,
// the fail-soft bounds of a value, and evaluation functions with a known
// behaviour.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "engine/board/board.h"
#include "engine/eval/eval_simple.h"
#include "engine/eval/score.h"

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

inline DiscCounts countsOf(const Board& b) {
  DiscCounts counts;
  boardCount(b, counts);
  return counts;
}

// A fail-soft value in (alpha, beta) against the exact value: at most alpha
// only when the value is at most that, at least beta only when the value is
// at least that, and exact in between.
inline ::testing::AssertionResult keepsFailSoftBounds(int result, int alpha, int beta, int exact) {
  const bool kept = result <= alpha ? exact <= result : result >= beta ? exact >= result : exact == result;
  if (kept) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << result << " in (" << alpha << ", " << beta << ") for the value " << exact;
}

// Fails every evaluation: a read that reaches the end never calls it.
inline int failingEval(const Board&, int, int, DiscCounts&) { return SCORE_EVAL_ERROR; }

}  // namespace kaimo::testing
