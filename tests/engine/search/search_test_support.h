// Helpers shared by the search tests: boards from the text form, counts,
// and evaluation functions with a known behaviour.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "engine/board/board.h"
#include "engine/eval/evaluator.h"
#include "engine/eval/score.h"
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

}  // namespace kaimo::testing
