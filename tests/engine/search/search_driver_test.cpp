#include "engine/search/search_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "engine/eval/routines.h"
#include "tests/common/plain_board.h"
#include "tests/engine/search/search_test_support.h"

namespace kaimo {
namespace {

constexpr int kInf = SCORE_INF;

struct DepthCase {
  int normal, exact, win, empties;
  int depth;
};

class ChooseDepth : public ::testing::TestWithParam<DepthCase> {};

TEST_P(ChooseDepth, FollowsTheReadRules) {
  const DepthCase c = GetParam();
  EXPECT_EQ(chooseDepth(c.normal, c.exact, c.win, c.empties), c.depth);
}

INSTANTIATE_TEST_SUITE_P(Settings, ChooseDepth,
                         ::testing::Values(DepthCase{8, 13, 0, 14, 8},    // normal read
                                           DepthCase{8, 13, 0, 13, 13},   // exact read
                                           DepthCase{8, 10, 16, 15, 15},  // win read
                                           DepthCase{30, 0, 0, 20, 20},   // never past the end
                                           DepthCase{5, 0, 0, 40, 5}, DepthCase{6, 13, 0, 0, 0}));

struct ThresholdCase {
  int depth, empties;
  int solver, hash, order;
};

class Thresholds : public ::testing::TestWithParam<ThresholdCase> {};

TEST_P(Thresholds, FollowTheDepthAndWhetherTheReadEnds) {
  const ThresholdCase c = GetParam();
  EXPECT_EQ(solverDepthFor(c.depth, c.empties), c.solver);
  EXPECT_EQ(hashDepthFor(c.depth, c.empties), c.hash);
  EXPECT_EQ(orderDepthFor(c.depth, c.empties), c.order);
}

INSTANTIATE_TEST_SUITE_P(Reads, Thresholds,
                         ::testing::Values(ThresholdCase{8, 40, 2, 6, 2}, ThresholdCase{5, 40, 2, 3, 2},
                                           ThresholdCase{20, 20, 9, 18, 8}, ThresholdCase{14, 14, 3, 12, 8},
                                           ThresholdCase{15, 15, 5, 13, 8}, ThresholdCase{18, 18, 8, 16, 8},
                                           ThresholdCase{19, 19, 8, 17, 8}, ThresholdCase{19, 25, 7, 17, 2},
                                           ThresholdCase{14, 20, 2, 12, 2}, ThresholdCase{6, 6, 3, 4, 4}));

// A position of random play with this many empty squares and a move to play.
Board positionWithEmpties(int empties, int& side) {
  std::mt19937 rng(static_cast<unsigned>(empties));
  for (;;) {
    const Board b = plain::randomGame(rng, 96 - empties, &side);
    if (testing::countsOf(b)[2] == empties && boardMobility(b, side) > 0) return b;
  }
}

TEST(PrepareComputerMove, FillsTheJobAsATurnDoes) {
  int side;
  const Board b = positionWithEmpties(20, side);
  SearchJob job;
  const SideSettings settings{kSimpleRoutine, 30, 0, 0, 1, 2, 3, 4};
  prepareComputerMove(job, b, side, settings, nullptr, nullptr);
  EXPECT_EQ(job.depth, 20);
  EXPECT_EQ(job.board, &b);
  EXPECT_EQ(job.side, side);
  EXPECT_EQ(job.winDepth, 0);
  EXPECT_EQ(job.progressSpan, 1000000000);
  EXPECT_EQ(job.context.solverDepth, 9);
  EXPECT_EQ(job.context.hashDepth, 18);
  EXPECT_EQ(job.context.orderDepth, 8);
  EXPECT_EQ(job.context.progressDepth, 18);
  EXPECT_EQ(job.context.clearAllowed, 1);
  EXPECT_EQ(job.context.refreshDepth, 10);
  EXPECT_EQ(job.context.bestMove, -1);
  EXPECT_EQ(job.context.leafCount, 0);
  EXPECT_EQ(job.context.evaluate, routineTable[kSimpleRoutine].evaluate);
  EXPECT_NE(job.context.table, nullptr);
  EXPECT_EQ(job.context.entryCount, 0);

  const SideSettings broken{77, 4, 0, 0, 0, 0, 0, 0};  // a routine index from a damaged file
  prepareComputerMove(job, b, side, broken, nullptr, nullptr);
  EXPECT_EQ(job.context.evaluate, routineTable[kSimpleRoutine].evaluate);
}

TEST(SearchTable, IsOneTableEmptiedForEverySearch) {
  MapHeader* table = acquireTable();
  ASSERT_NE(table, nullptr);
  Board b;
  const int side = boardInit(b);
  SearchContext context;
  prepareSearch(context, 96, evalSimple, nullptr, nullptr, 3, 0, 0, 0, 0, 2, 3, 1, 2);
  EXPECT_EQ(context.table, table);
  searchRoot(b, side, 5, -kInf, kInf, context, 0, 100);
  EXPECT_GT(kr_mapCount(table), 0);
  EXPECT_EQ(kr_mapCount(table), context.entryCount);
  prepareSearch(context, 96, evalSimple, nullptr, nullptr, 3, 0, 0, 0, 0, 2, 3, 1, 2);
  EXPECT_EQ(context.table, table);
  EXPECT_EQ(kr_mapCount(table), 0);
  EXPECT_EQ(context.entryCount, 0);
}

TEST(SearchTable, ResetEntryKeepsOnlyMiddleAndKey) {
  TableEntry entry;
  PositionKey key;
  key.fill(0x5a);
  initEntry(entry, key);
  entry.lower = 3000;
  entry.upper = 4000;
  entry.middle = 3500;
  entry.resume = 17;
  entry.tried[3] = 0x1234;
  resetEntry(&entry, nullptr);
  EXPECT_EQ(entry.lower, -kInf);
  EXPECT_EQ(entry.upper, kInf);
  EXPECT_EQ(entry.middle, 3500);
  EXPECT_EQ(entry.resume, 0);
  for (auto word : entry.tried) EXPECT_EQ(word, 0);
  EXPECT_EQ(entry.key, key);
}

TEST(SearchTable, HashIsTheRunningSumOverTheKeyBytes) {
  std::mt19937 rng(3);
  for (int i = 0; i < 200; ++i) {
    PositionKey key;
    for (auto& byte : key) byte = static_cast<std::uint8_t>(rng());
    std::uint32_t h = 0;
    for (std::uint32_t k = 1; k <= 26; ++k) h = (h + k * key[k - 1]) * 3u;
    EXPECT_EQ(tableHash(&key, kTableBuckets), static_cast<int>(h % kTableBuckets));
  }
}

// The shape of every pass as the progress reports see it: (hashDepth,
// solverDepth) at each report, the passes before the real search.
std::vector<std::pair<int, int>> shapes;
void recordShape(int, SearchContext* context) {
  const std::pair<int, int> shape{context->hashDepth, context->solverDepth};
  if (shapes.empty() || shapes.back() != shape) shapes.push_back(shape);
}

Board fortyEmpties(int& side) { return positionWithEmpties(40, side); }

TEST(SearchRoot, PreliminaryPassesRunFromDepthFourUpToTheSolverGap) {
  int side;
  const Board b = fortyEmpties(side);
  for (const auto& [depth, expected] :
       {std::pair<int, std::vector<std::pair<int, int>>>{5, {{3, 2}}},
        {8, {{4, -2}, {5, -1}, {6, 0}, {6, 2}}}}) {
    SearchContext context;
    prepareSearch(context, 40, evalSimple, nullptr, recordShape, 0, 0, 0, 0, 0, solverDepthFor(depth, 40),
                  hashDepthFor(depth, 40), 1, orderDepthFor(depth, 40));
    shapes.clear();
    const int value = searchRoot(b, side, depth, -kInf, kInf, context, 0, kProgressSpan);
    EXPECT_FALSE(isMarker(value));
    EXPECT_EQ(shapes, expected) << "depth " << depth;
    EXPECT_EQ(context.hashDepth, hashDepthFor(depth, 40));
    EXPECT_EQ(context.solverDepth, solverDepthFor(depth, 40));
  }
}

TEST(SearchRoot, StopDuringThePassesSkipsTheRealSearch) {
  int side;
  const Board b = fortyEmpties(side);
  SearchContext context;
  prepareSearch(context, 40, evalSimple, [] { return 1; }, recordShape, 0, 0, 0, 0, 0, 2, 6, 1, 2);
  shapes.clear();
  EXPECT_EQ(searchRoot(b, side, 8, -kInf, kInf, context, 0, kProgressSpan), SCORE_NONE);
  for (const auto& shape : shapes) EXPECT_NE(shape.second, 2) << "the real search ran";
  EXPECT_EQ(context.hashDepth, 6);
}

TEST(SearchRoot, EvaluationFailureAndNoMoveComeBackAsMarkers) {
  int side;
  const Board b = fortyEmpties(side);
  SearchContext context;
  prepareSearch(context, 40, testing::failingEval, nullptr, nullptr, 6, 0, 0, 0, 0, 2, 6, 1, 2);
  EXPECT_EQ(searchRoot(b, side, 8, -kInf, kInf, context, 0, kProgressSpan), SCORE_EVAL_ERROR);

  Board lone;
  lone.fill(kEmpty);
  lone[0] = kBlack;
  prepareSearch(context, 99, evalSimple, nullptr, nullptr, 6, 0, 0, 0, 0, 2, 6, 1, 2);
  EXPECT_EQ(searchRoot(lone, kWhite, 8, -kInf, kInf, context, 0, kProgressSpan), SCORE_NO_MOVE);
  EXPECT_EQ(context.bestMove, -1);
}

std::vector<int> progressValues;
void recordProgress(int value, SearchContext*) { progressValues.push_back(value); }

TEST(SearchRoot, ProgressClimbsToTheWholeSpan) {
  std::mt19937 rng(5);
  int side;
  const Board b = plain::randomGame(rng, 30, &side);
  SearchJob job;
  prepareComputerMove(job, b, side, SideSettings{kSimpleRoutine, 6, 0, 0, 0, 0, 0, 0}, nullptr, recordProgress);
  progressValues.clear();
  const int value = searchRoot(b, side, job.depth, -kInf, kInf, job.context, 0, job.progressSpan);
  ASSERT_FALSE(isMarker(value));
  ASSERT_FALSE(progressValues.empty());
  EXPECT_TRUE(std::is_sorted(progressValues.begin(), progressValues.end()));
  EXPECT_EQ(progressValues.back(), kProgressSpan);
  EXPECT_TRUE(boardIsLegal(b, job.context.bestMove, side));
}

}  // namespace
}  // namespace kaimo
