// "狐" evaluated on two threads at once, as when the evaluation-values command
// runs on the window thread during a search. Run under ThreadSanitizer.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "engine/eval/pattern_eval.h"
#include "engine/eval/pattern_evaluator.h"
#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "tests/common/plain_board.h"
#include "tests/common/temp_dir.h"
#include "tools/reference/pattern_sample_data.h"

namespace kaimo {
namespace {

struct Sample {
  Board board;
  int side;
};

using PatternThreads = testing::InTempDir;

int evaluate(const PatternEvaluator& e, const Sample& s) {
  DiscCounts counts;
  boardCount(s.board, counts);
  return e.evaluate(s.board, 0, s.side, counts);
}

// Two evaluators of one set of data on two threads: each reads stages the
// other may be reading for the first time at the same moment.
TEST_F(PatternThreads, TwoThreadsGetTheValuesOfOne) {
  const long rows = testing::rowCountOfWrittenTables();
  const int stages[] = {8, 9, 10, 11};
  for (int s : stages) ASSERT_TRUE(testing::writeStage(s, testing::randomStage(rows, s, 3000, 20000)));
  std::mt19937 rng(21);
  std::vector<Sample> first;
  std::vector<Sample> second;
  for (int i = 0; i < 40; ++i) {
    for (int s : stages) {
      Sample sample;
      sample.board = plain::randomGame(rng, 4 * s + i % 4, &sample.side);
      (s % 2 ? first : second).push_back(sample);
    }
  }
  auto valuesOf = [](const PatternEvaluator& evaluator, const std::vector<Sample>& samples) {
    std::vector<int> values;
    for (const Sample& s : samples) values.push_back(evaluate(evaluator, s));
    return values;
  };
  const PatternEvaluator alone(std::make_shared<const PatternData>(""));
  ASSERT_FALSE(alone.failed());
  const std::vector<int> expectedFirst = valuesOf(alone, first);
  const std::vector<int> expectedSecond = valuesOf(alone, second);

  const auto shared = std::make_shared<const PatternData>("");
  std::vector<int> gotFirst;
  std::vector<int> gotSecond;
  std::thread worker([&] { gotFirst = valuesOf(PatternEvaluator(shared), first); });
  gotSecond = valuesOf(PatternEvaluator(shared), second);
  worker.join();
  EXPECT_EQ(gotFirst, expectedFirst);
  EXPECT_EQ(gotSecond, expectedSecond);
}

TEST_F(PatternThreads, TheRoutineTableRowIsSafeOnTwoThreads) {
  // The program's own data, read in the directory the test started in;
  // whether it found them or not, both threads must see the same answers.
  const int fox = routineIndexOf("狐");
  ASSERT_EQ(fox, 2);
  std::mt19937 rng(4);
  std::vector<Sample> samples;
  for (int i = 0; i < 40; ++i) {
    Sample s;
    s.board = plain::randomGame(rng, 20 + i, &s.side);
    samples.push_back(s);
  }
  auto run = [&] {
    const Evaluator evaluator = routineEvaluator(fox);
    std::vector<int> values;
    for (const Sample& s : samples) {
      DiscCounts counts;
      boardCount(s.board, counts);
      values.push_back(evaluator.evaluate(s.board, 0, s.side, counts));
    }
    return values;
  };
  std::vector<int> other;
  std::thread worker([&] { other = run(); });
  const std::vector<int> mine = run();
  worker.join();
  EXPECT_EQ(mine, other);
}

}  // namespace
}  // namespace kaimo
