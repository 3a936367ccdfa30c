// Two threads in one tree give the values one thread gives: reads to the end
// in every window, normal reads at each depth with the move they play, and
// the analysis of every move.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "engine/eval/routines.h"
#include "engine/search/endgame_analysis.h"
#include "engine/search/endgame_solver.h"
#include "engine/search/move_loop.h"
#include "engine/search/search_driver.h"
#include "engine/search/search_team.h"
#include "tests/common/temp_dir.h"
#include "tests/engine/search/search_test_support.h"
#include "tools/reference/pattern_sample_data.h"

namespace kaimo {
namespace {

constexpr int kInf = SCORE_INF;

// A position with a move for `side`: of a random game, or half walls.
Board positionWithMove(std::mt19937& rng, int empties, bool ofAGame, int& side) {
  for (;;) {
    Board b;
    if (ofAGame) {
      b = plain::randomGame(rng, kSquareCount - 4 - empties, &side);
    } else {
      b = testing::randomEndgame(rng, empties, 40, 50);
      side = static_cast<int>(rng() & 1);
    }
    if (testing::emptiesOf(b) == empties && boardMobility(b, side) > 0) return b;
  }
}

struct Solver {
  SearchTable table{12};
  SearchContext context;

  // The exact value for `side` in (alpha, beta), with `threads` sharing the tree.
  int solve(const Board& b, int side, int alpha, int beta, int threads, int* shared = nullptr) {
    prepareSearch(context, testing::kSimpleEvaluator, {}, nullptr, 0, &table);
    const BitBoard bits = toBits(b);
    context.thread.rootEmpty = bits.empty;
    SearchTeam team(context.thread, threads);
    const int value = side == kBlack ? solveExact(context.thread, bits.black, bits.white, bits.empty, alpha, beta)
                                     : solveExact(context.thread, bits.white, bits.black, bits.empty, alpha, beta);
    EXPECT_EQ(context.thread.abortReason, 0);
    if (shared != nullptr) *shared += team.splitCount();
    return value;
  }
};

TEST(SearchThreads, ReadsToTheEndInEveryWindowGiveTheValueOfOneThread) {
  std::mt19937 rng(25);
  auto draw = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
  Solver one, two;
  int shared = 0;
  for (int i = 0; i < 16; ++i) {
    int side;
    const Board b = positionWithMove(rng, draw(12, 15), i % 2 == 0, side);
    const int exact = one.solve(b, side, -kInf, kInf, 1);
    ASSERT_EQ(two.solve(b, side, -kInf, kInf, 2, &shared), exact) << i;
    for (const int width : {1, 1000 * draw(2, 6)}) {
      const int alpha = exact + 1000 * draw(-4, 3) - draw(0, 1);
      ASSERT_TRUE(testing::keepsFailSoftBounds(two.solve(b, side, alpha, alpha + width, 2, &shared), alpha,
                                               alpha + width, exact))
          << i;
    }
  }
  EXPECT_GT(shared, 0) << "the threads never shared a node";
}

// A normal read with two threads: the value of one thread at every depth,
// and a move worth that value; deepening depth by depth on two threads (one
// team for every depth) gives the same values.
TEST(SearchThreads, NormalReadsGiveTheValueOfOneThreadAtEachDepth) {
  std::mt19937 rng(26);
  for (int i = 0; i < 8; ++i) {
    int side;
    const Board b = positionWithMove(rng, 40 + 5 * i, true, side);
    std::vector<int> values{0, 0, 0};  // of one thread, by depth
    for (int depth = 3; depth <= 6; ++depth) {
      SearchJob job;
      prepareComputerMove(job, b, side, SideSettings{.routine = kSimpleRoutine, .normalDepth = depth, .exactDepth = 0},
                          {}, nullptr, 1);
      const int value = searchRoot(b, side, depth, -kInf, kInf, job.context, 0, job.progressSpan);
      values.push_back(value);
      prepareComputerMove(job, b, side, SideSettings{.routine = kSimpleRoutine, .normalDepth = depth, .exactDepth = 0},
                          {}, nullptr, 2);
      ASSERT_EQ(searchRoot(b, side, depth, -kInf, kInf, job.context, 0, job.progressSpan), value) << i << " " << depth;
      const int move = job.context.bestMove;
      Board child;
      ASSERT_GT(boardPlay(b, child, move, side), 1) << move;
      prepareComputerMove(job, child, opponentOf(side),
                          SideSettings{.routine = kSimpleRoutine, .normalDepth = depth - 1, .exactDepth = 0}, {},
                          nullptr, 1);
      const int reply = searchRoot(child, opponentOf(side), depth - 1, -kInf, kInf, job.context, 0, job.progressSpan);
      if (reply != SCORE_NO_MOVE) {
        EXPECT_EQ(-reply, value) << "move " << move << " is not worth the value";
      }
    }
    SearchJob job;
    prepareComputerMove(job, b, side, SideSettings{.routine = kSimpleRoutine, .normalDepth = 6, .exactDepth = 0}, {},
                        nullptr, 2);
    int deepest = 0;
    searchDeepening(b, side, 6, job.context, [&](int depth, int value, int) {
      deepest = depth;
      if (depth >= 3) {
        EXPECT_EQ(value, values[depth]) << i << " " << depth;
      }
    });
    EXPECT_EQ(deepest, 6) << i;
  }
}

// ProbCut on two threads: the helpers' shallow reads cut as the owner's do
// (far fewer nodes than the full read, a legal move), and a ProbCut no node
// is deep enough to try gives the full read's value.
// Young brothers wait: with a thread idle from the start, a node's first
// move is searched alone, on the node's thread with the node's window, and
// only the moves after it are shared (a node with one move after the first
// has nothing to share). The stand-in move i is worth i discs.
TEST(SearchThreads, ANodeSharesNoMoveBeforeItsFirstReturns) {
  struct Call {
    int index, alpha, beta;
    std::thread::id thread;
  };
  for (const int count : {2, 4}) {
    SearchContext context;
    SearchTeam team(context.thread, 2);
    while (!team.hasIdleThread()) std::this_thread::yield();
    MoveOrder order;
    for (int i = 0; i < count; ++i) order.moves[order.count++] = {i, 0, 0, kRepliesUnknown};
    std::mutex lock;
    std::vector<Call> calls;
    const auto searchMove = [&](SearchThread&, int index, int alpha, int beta) {
      std::lock_guard hold(lock);
      calls.push_back({index, alpha, beta, std::this_thread::get_id()});
      return std::clamp(1000 * index, alpha, beta);
    };
    const MoveLoopResult result = searchMoves(context.thread, order, -kInf, kInf, true, searchMove, noReport);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].index, 0);
    EXPECT_EQ(calls[0].alpha, -kInf);
    EXPECT_EQ(calls[0].beta, kInf);
    EXPECT_EQ(calls[0].thread, std::this_thread::get_id());
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const Call& c) { return c.index == 0; }), 1);
    EXPECT_EQ(team.splitCount(), count > 2 ? 1 : 0) << count;
    EXPECT_EQ(result.best, 1000 * (count - 1));
    EXPECT_EQ(result.bestMove, count - 1);
  }
}

TEST(SearchThreads, ProbCutCutsOnBothThreads) {
  const ProbCutTable table = testing::rashProbCutTable();
  std::mt19937 rng(29);
  for (int i = 0; i < 4; ++i) {
    int side;
    const Board b = positionWithMove(rng, 60 - 8 * i, true, side);
    std::int64_t nodes = 0;
    auto read = [&](const ProbCut& cut) {
      SearchJob job;
      prepareComputerMove(job, b, side, SideSettings{.routine = kSimpleRoutine, .normalDepth = 6, .exactDepth = 0}, {},
                          nullptr, 2);
      job.context.setup.probCut = cut;
      const int value = searchRoot(b, side, 6, -kInf, kInf, job.context, 0, job.progressSpan);
      EXPECT_TRUE(boardIsLegal(b, job.context.bestMove, side)) << i;
      nodes = job.context.thread.nodeCount;
      return value;
    };
    const int full = read({});
    const std::int64_t fullNodes = nodes;
    read(probCutOf(&table, 0, 60, 0));
    EXPECT_LT(nodes, fullNodes) << i;
    EXPECT_EQ(read(probCutOf(&table, 0, 2, 0)), full) << i;
  }
}

TEST(SearchThreads, TheAnalysisWithTwoThreadsGivesTheValuesOfOne) {
  std::mt19937 rng(27);
  SearchTable table(16);
  for (int i = 0; i < 6; ++i) {
    int side;
    const Board b = positionWithMove(rng, 14 + i % 3, i % 2 == 0, side);
    SquareValues one, two;
    analyzeEndgame(b, side, testing::kSimpleEvaluator, {}, one, nullptr, nullptr, {&table, nullptr, 1});
    analyzeEndgame(b, side, testing::kSimpleEvaluator, {}, two, nullptr, nullptr, {&table, nullptr, 2});
    EXPECT_EQ(one, two) << i;
  }
}

// Reads to the end ordered by "狐" (data written for the test) near their
// top, one and two plies deep, and read around its guess, on two threads:
// the analysis and the computer's own read give the values of reads on one
// thread ordered from the masks alone (a position of a game with 13 empty
// squares, one with walls and 17).
class FoxOrderedReads : public testing::InTempDir {};

TEST_F(FoxOrderedReads, GiveTheValuesOfReadsOrderedFromTheMasks) {
  ASSERT_EQ(static_cast<int>(testing::writeEveryStage(700, 3000, 20000).size()), kStageFileCount);
  const Evaluator orderer = routineEvaluator(kPatternRoutine, std::make_shared<const PatternData>(""));
  ASSERT_FALSE(orderer.failed());
  std::mt19937 rng(28);
  SearchTable table(16);
  for (const int empties : {13, 17}) {
    int side;
    const Board b = positionWithMove(rng, empties, empties < 16, side);
    SquareValues masks, fox;
    analyzeEndgame(b, side, testing::kSimpleEvaluator, {}, masks, nullptr, nullptr, {&table, nullptr, 1});
    analyzeEndgame(b, side, testing::kSimpleEvaluator, {}, fox, nullptr, nullptr, {&table, &orderer, 2});
    EXPECT_EQ(fox, masks) << empties;
    // The computer's own read to the end, around the guess of "狐".
    SearchContext plain, byFox;
    prepareSearch(plain, testing::kSimpleEvaluator, {}, nullptr, 0, &table);
    const int value = searchRoot(b, side, empties, -kInf, kInf, plain, 0, 0);
    prepareSearch(byFox, testing::kSimpleEvaluator, {}, nullptr, 0, &table);
    orderReadsWith(byFox, orderer);
    byFox.setup.threads = 2;
    EXPECT_EQ(searchRoot(b, side, empties, -kInf, kInf, byFox, 0, 0), value) << empties;
  }
}

}  // namespace
}  // namespace kaimo
