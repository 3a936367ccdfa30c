// Helpers shared by the search tests: boards from the text form, counts,
// and evaluation functions with a known behaviour.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "engine/board/board.h"
#include "engine/eval/eval_simple.h"
#include "engine/eval/score.h"
#include "engine/search/empties.h"

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

struct EmptiesOf {
  explicit EmptiesOf(const Board& b) { buildEmpties(b, list); }
  std::int8_t list[kEmptiesCapacity];
};

// Fails every evaluation: a read that reaches the end never calls it.
inline int failingEval(const Board&, int, int, DiscCounts&) { return SCORE_EVAL_ERROR; }

// evalSimple, then uses its counts as scratch, as an evaluation may.
inline int scratchingEval(const Board& b, int finalFlag, int side, DiscCounts& counts) {
  const int value = evalSimple(b, finalFlag, side, counts);
  counts = {-7, 1000, 55};
  return value;
}

}  // namespace kaimo::testing
