// Helpers shared by the search tests: boards from the text form, counts,
// and evaluation functions with a known behaviour.
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

// Fails every evaluation: a read that reaches the end never calls it.
inline int failingEval(const Board&, int, int, DiscCounts&) { return SCORE_EVAL_ERROR; }

}  // namespace kaimo::testing
