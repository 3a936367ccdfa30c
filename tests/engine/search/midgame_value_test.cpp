// A normal read gives the value of plain alpha-beta over the same tree, and
// plays a move of that value, on positions of real games and on boards with
// walls and passes; in narrow and null windows it keeps the fail-soft bounds.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "engine/eval/routines.h"
#include "engine/search/midgame_search.h"
#include "engine/search/search_driver.h"
#include "engine/search/search_table.h"
#include "tests/common/temp_dir.h"
#include "tests/engine/search/reference_minimax.h"
#include "tests/engine/search/search_test_support.h"
#include "tools/reference/pattern_sample_data.h"

namespace kaimo {
namespace {

using testing::referenceDepthValue;

// The value of playing `move` in a read of `depth` plies.
int referenceMoveValue(const Board& b, int side, int move, int depth, const Evaluator& evaluator) {
  Board child;
  boardPlay(b, child, move, side);
  if (depth == 1 || boardMobility(child, opponentOf(side)) > 0) {
    return -referenceDepthValue(child, opponentOf(side), depth - 1, evaluator);
  }
  if (boardMobility(child, side) > 0) return referenceDepthValue(child, side, depth - 1, evaluator);
  return scoreFinal(testing::discsOf(child, side), testing::discsOf(child, opponentOf(side)));
}

// The leaves of plain alpha-beta are scored from the board, square by square;
// the search's come from the indices it keeps move by move.
void expectPlainValue(const Board& b, int side, int depth, const Evaluator& evaluator = testing::kSimpleEvaluator) {
  if (boardMobility(b, side) == 0) return;
  SearchJob job;
  prepareComputerMove(job, b, side, SideSettings{.routine = kSimpleRoutine, .normalDepth = depth, .exactDepth = 0},
                      evaluator, {}, nullptr);
  ASSERT_LT(job.depth, testing::emptiesOf(b));
  const int value = searchRoot(b, side, job.depth, -SCORE_INF, SCORE_INF, job.context, 0, job.progressSpan);
  ASSERT_EQ(value, referenceDepthValue(b, side, job.depth, evaluator)) << "depth " << job.depth;
  const int move = job.context.bestMove;
  ASSERT_TRUE(move >= 0 && boardIsLegal(b, move, side)) << move;
  EXPECT_EQ(referenceMoveValue(b, side, move, job.depth, evaluator), value)
      << "move " << move << " depth " << job.depth;
}

TEST(MidgameValue, GamePositionsMatchPlainAlphaBeta) {
  std::mt19937 rng(41);
  for (int i = 0; i < 120; ++i) {
    int side;
    const Board b = plain::randomGame(rng, 4 + static_cast<int>(rng() % 70), &side);
    expectPlainValue(b, side, 1 + i % 4);
    if (HasFatalFailure()) return;
  }
}

TEST(MidgameValue, BoardsWithWallsAndPassesMatchPlainAlphaBeta) {
  std::mt19937 rng(42);
  for (int i = 0; i < 120; ++i) {
    const int empties = 8 + static_cast<int>(rng() % 14);
    const Board b = testing::randomEndgame(rng, empties, i % 3 == 0 ? 0 : 30, 50);
    expectPlainValue(b, static_cast<int>(rng() & 1), 1 + i % 5);
    if (HasFatalFailure()) return;
  }
}

// The midgame search's value for `side` with `depth` plies left in (alpha,
// beta), handing over to the exact solver once the depth reaches the end;
// the one place that sets up a search for the window test.
int searchInWindow(const Board& b, int side, int depth, int alpha, int beta, SearchTable* table) {
  SearchContext context;
  prepareSearch(context, testing::kSimpleEvaluator, {}, nullptr, 0, table);
  const BitBoard bits = toBits(b);
  context.thread.rootEmpty = bits.empty;
  const Bits own = side == kBlack ? bits.black : bits.white;
  const Bits opp = side == kBlack ? bits.white : bits.black;
  return searchMidgame(context.thread, own, opp, side, depth, alpha, beta);
}

// Boards where the side to move must pass, read three plies deep or more in
// narrow and null windows: the pass hands the opponent the window negated
// and swapped, and a mistake there shows only in such windows (the full
// window negated but not swapped still gives the value), mostly in those
// reaching far below the value. A third of the boards are read to the end,
// by the exact solver.
TEST(MidgameValue, WindowsThroughAPassKeepTheirFailSoftBounds) {
  std::mt19937 rng(43);
  auto draw = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
  SearchTable table(8);
  int boards = 0;
  while (boards < 2000) {
    const bool toTheEnd = boards % 3 == 0;
    const int empties = toTheEnd ? draw(6, 11) : draw(8, 18);
    const Board b = testing::randomEndgame(rng, empties, 25 * draw(1, 2), draw(0, 1) ? 50 : 80);
    const int side = draw(0, 1);
    if (boardMobility(b, side) != 0 || boardMobility(b, opponentOf(side)) == 0) continue;
    ++boards;
    const int depth = toTheEnd ? empties : draw(3, 6);
    const int exact = -referenceDepthValue(b, opponentOf(side), depth, testing::kSimpleEvaluator);
    SearchTable* used = boards % 2 == 0 ? &table : nullptr;
    for (const int width : {1, 1000 * draw(1, 100), 1000 * draw(1, 100)}) {
      const int alpha = exact + 1000 * draw(-30, 2) - draw(0, 1);
      ASSERT_TRUE(testing::keepsFailSoftBounds(searchInWindow(b, side, depth, alpha, alpha + width, used), alpha,
                                               alpha + width, exact))
          << "board " << boards << " depth " << depth << " empties " << empties;
    }
  }
}

// "狐" over generated data, every stage written.
class PatternMidgameValue : public testing::InTempDir {
 protected:
  void SetUp() override {
    InTempDir::SetUp();
    ASSERT_EQ(static_cast<int>(testing::writeEveryStage(900, 3000, 20000).size()), kStageFileCount);
    evaluator_ = PatternEvaluator(std::make_shared<const PatternData>(""));
    ASSERT_FALSE(evaluator_.failed());
  }
  Evaluator evaluator_;
};

TEST_F(PatternMidgameValue, GamePositionsAndBoardsWithWallsMatchPlainAlphaBeta) {
  std::mt19937 rng(43);
  for (int i = 0; i < 60; ++i) {
    int side;
    const Board game = plain::randomGame(rng, 10 + static_cast<int>(rng() % 80), &side);
    expectPlainValue(game, side, 1 + i % 4, evaluator_);
    const Board walls = testing::randomEndgame(rng, 8 + static_cast<int>(rng() % 30), i % 3 == 0 ? 0 : 30, 50);
    expectPlainValue(walls, static_cast<int>(rng() & 1), 1 + i % 5, evaluator_);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace kaimo
