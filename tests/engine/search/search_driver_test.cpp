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
  ReadKind read;
};

void PrintTo(const DepthCase& c, std::ostream* out) {
  *out << "normal " << c.normal << " exact " << c.exact << " win " << c.win << " empties " << c.empties;
}

class ChooseDepth : public ::testing::TestWithParam<DepthCase> {};

TEST_P(ChooseDepth, FollowsTheReadRules) {
  const DepthCase c = GetParam();
  EXPECT_EQ(chooseDepth(c.normal, c.exact, c.win, c.empties), c.depth);
  const SideSettings settings{.normalDepth = c.normal, .exactDepth = c.exact, .winDepth = c.win};
  EXPECT_EQ(settings.readKindFor(c.empties), c.read);
}

constexpr ReadKind kNormal = ReadKind::Normal, kWinLoss = ReadKind::WinLoss, kExact = ReadKind::Exact;
INSTANTIATE_TEST_SUITE_P(Settings, ChooseDepth,
                         ::testing::Values(DepthCase{8, 13, 0, 14, 8, kNormal},    // normal read
                                           DepthCase{8, 13, 0, 13, 13, kExact},    // exact read
                                           DepthCase{8, 10, 16, 15, 15, kWinLoss},  // win read
                                           // the win read's ends: one past the exact depth, and the win depth
                                           DepthCase{8, 10, 16, 10, 10, kExact}, DepthCase{8, 10, 16, 11, 11, kWinLoss},
                                           DepthCase{8, 10, 16, 16, 16, kWinLoss}, DepthCase{8, 10, 16, 17, 8, kNormal},
                                           DepthCase{8, 16, 10, 12, 12, kExact},  // a win depth below the exact one
                                           DepthCase{30, 0, 0, 20, 20, kExact},  // never past the end
                                           DepthCase{20, 0, 24, 20, 20, kExact}, DepthCase{19, 0, 24, 20, 20, kWinLoss},
                                           DepthCase{5, 0, 0, 40, 5, kNormal}, DepthCase{6, 13, 0, 0, 0, kExact}));

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
  const SideSettings settings{.routine = kSimpleRoutine,
                              .normalDepth = 30,
                              .exactDepth = 0,
                              .probCut = true,
                              .cutValue = 2,
                              .probCutMaxDepth = 3,
                              .probCutAboveEmpties = 4};
  prepareComputerMove(job, b, side, settings, {}, nullptr);
  EXPECT_EQ(job.depth, 20);
  EXPECT_EQ(job.board, &b);
  EXPECT_EQ(job.side, side);
  EXPECT_EQ(job.winDepth, 0);
  EXPECT_EQ(job.read, ReadKind::Exact);  // the normal depth reaches the end
  EXPECT_EQ(job.progressSpan, 1000000000);
  EXPECT_EQ(job.context.setup.progressDepth, 18);
  EXPECT_EQ(job.context.bestMove, -1);
  EXPECT_EQ(job.context.thread.leafCount, 0);
  EXPECT_EQ(job.context.setup.evaluator, &job.evaluator);
  EXPECT_FALSE(job.evaluator.holds<PatternEvaluator>());
  EXPECT_EQ(job.context.setup.table, &job.table);

  const SideSettings fox{.routine = routineIndexOf("狐"), .normalDepth = 4, .exactDepth = 0};
  prepareComputerMove(job, b, side, fox, {}, nullptr);
  EXPECT_TRUE(job.evaluator.holds<PatternEvaluator>());
  const SideSettings broken{.routine = 77, .normalDepth = 4, .exactDepth = 0};  // a routine index from a damaged file
  prepareComputerMove(job, b, side, broken, {}, nullptr);
  EXPECT_FALSE(job.evaluator.holds<PatternEvaluator>());
}

// Two searches of one table: the second finds nothing of the first, and
// gives the value and move it gives from a new table.
TEST(SearchTable, ASearchStartsFromAnEmptyTable) {
  int side;
  const Board b = positionWithEmpties(40, side);
  SearchTable shared;
  SearchContext context;
  prepareSearch(context, testing::kSimpleEvaluator, {}, nullptr, 0, &shared);
  searchRoot(b, side, 5, -kInf, kInf, context, 0, 100);
  prepareSearch(context, testing::kSimpleEvaluator, {}, nullptr, 0, &shared);
  const BitBoard bits = toBits(b);
  TableHit hit;
  EXPECT_FALSE(shared.probe(
      SearchTable::keyOf(side == kBlack ? bits.black : bits.white, side == kBlack ? bits.white : bits.black), side,
      hit));
  const int again = searchRoot(b, side, 4, -kInf, kInf, context, 0, 100);
  const int againMove = context.bestMove;
  SearchTable fresh;
  prepareSearch(context, testing::kSimpleEvaluator, {}, nullptr, 0, &fresh);
  EXPECT_EQ(searchRoot(b, side, 4, -kInf, kInf, context, 0, 100), again);
  EXPECT_EQ(context.bestMove, againMove);
}

// Positions of one bucket (keys with one hash): a look-up needs both halves
// of the fingerprint, and a third position takes the place of the shallower
// of the two current entries, whichever slot it is in.
TEST(SearchTable, KnowsAPositionByBothHalvesAndKeepsTheDeeperEntry) {
  constexpr std::uint64_t kHash = 0x0123456789abcdefull;
  const TableKey deep{kHash, 1}, shallow{kHash, 2}, third{kHash, 3};
  for (const bool deepFirst : {true, false}) {
    SearchTable table(4);
    ASSERT_TRUE(table.startSearch());
    const auto storeAt = [&](const TableKey& key, int depth) { table.store(key, kBlack, depth, -kInf, kInf, 0, 5); };
    storeAt(deepFirst ? deep : shallow, deepFirst ? 7 : 3);
    storeAt(deepFirst ? shallow : deep, deepFirst ? 3 : 7);
    TableHit hit;
    for (const std::uint64_t flip : {1ull << 1, 1ull << 40, 1ull << 63}) {
      EXPECT_FALSE(table.probe({kHash, deep.check ^ flip}, kBlack, hit)) << flip;
      EXPECT_FALSE(table.probe({kHash ^ flip, deep.check}, kBlack, hit)) << flip;
    }
    storeAt(third, 5);
    ASSERT_TRUE(table.probe(deep, kBlack, hit)) << deepFirst;
    EXPECT_EQ(hit.depth, 7);
    EXPECT_TRUE(table.probe(third, kBlack, hit)) << deepFirst;
    EXPECT_FALSE(table.probe(shallow, kBlack, hit)) << deepFirst;
  }
}

TEST(SearchRoot, AStopEndsTheSearchWithTheMarker) {
  int side;
  const Board b = positionWithEmpties(40, side);
  SearchJob job;
  std::stop_source stop;
  stop.request_stop();
  prepareComputerMove(job, b, side, SideSettings{.routine = kSimpleRoutine, .normalDepth = 8, .exactDepth = 0},
                      stop.get_token(), nullptr);
  EXPECT_EQ(searchRoot(b, side, job.depth, -kInf, kInf, job.context, 0, kProgressSpan), SCORE_NONE);
}

TEST(SearchRoot, EvaluationFailureAndNoMoveComeBackAsMarkers) {
  int side;
  const Board b = positionWithEmpties(40, side);
  SearchContext context;
  const Evaluator failing = testing::failingEvaluator();
  prepareSearch(context, failing, {}, nullptr, 6, nullptr);
  EXPECT_EQ(searchRoot(b, side, 8, -kInf, kInf, context, 0, kProgressSpan), SCORE_EVAL_ERROR);

  Board lone;
  lone.fill(kEmpty);
  lone[0] = kBlack;
  prepareSearch(context, testing::kSimpleEvaluator, {}, nullptr, 6, nullptr);
  EXPECT_EQ(searchRoot(lone, kWhite, 8, -kInf, kInf, context, 0, kProgressSpan), SCORE_NO_MOVE);
  EXPECT_EQ(context.bestMove, -1);
}

struct RecordedProgress final : SearchProgress {
  void report(int value, const SearchContext&) override { values.push_back(value); }
  void passBegins(const SearchContext& context) override { passes.push_back(context.root.depth); }
  std::vector<int> values;
  std::vector<int> passes;
};

TEST(SearchRoot, ProgressClimbsToTheWholeSpan) {
  std::mt19937 rng(5);
  int side;
  const Board b = plain::randomGame(rng, 30, &side);
  SearchJob job;
  RecordedProgress progress;
  prepareComputerMove(job, b, side, SideSettings{.routine = kSimpleRoutine, .normalDepth = 6, .exactDepth = 0}, {},
                      &progress);
  const std::vector<int>& progressValues = progress.values;
  const int value = searchRoot(b, side, job.depth, -kInf, kInf, job.context, 0, job.progressSpan);
  ASSERT_FALSE(isMarker(value));
  ASSERT_FALSE(progressValues.empty());
  EXPECT_TRUE(std::is_sorted(progressValues.begin(), progressValues.end()));
  EXPECT_EQ(progressValues.back(), kProgressSpan);
  EXPECT_EQ(progress.passes, (std::vector<int>{1, 2, 3, 4, 5, 6})) << "each pass says when it begins";
  EXPECT_TRUE(boardIsLegal(b, job.context.bestMove, side));
}

}  // namespace
}  // namespace kaimo
