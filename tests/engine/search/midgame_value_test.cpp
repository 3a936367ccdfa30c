// A normal read gives the value of plain alpha-beta over the same tree, and
// plays a move of that value, on positions of real games and on boards with
// walls and passes.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "engine/eval/routines.h"
#include "engine/search/search_driver.h"
#include "tests/common/temp_dir.h"
#include "tests/engine/search/reference_minimax.h"
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
  prepareComputerMove(job, b, side, SideSettings{kSimpleRoutine, depth, 0, 0, 0, 0, 0, 0}, evaluator, {}, nullptr);
  ASSERT_LT(job.depth, testing::emptiesOf(b));
  const int value = searchRoot(b, side, job.depth, -SCORE_INF, SCORE_INF, job.context, 0, job.progressSpan);
  ASSERT_EQ(value, referenceDepthValue(b, side, job.depth, evaluator)) << "depth " << job.depth;
  const int move = job.context.bestMove;
  ASSERT_TRUE(move >= 0 && boardIsLegal(b, move, side)) << move;
  EXPECT_EQ(referenceMoveValue(b, side, move, job.depth, evaluator), value) << "move " << move << " depth " << job.depth;
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

// "狐" over generated data, every stage written.
class PatternMidgameValue : public testing::InTempDir {
 protected:
  void SetUp() override {
    InTempDir::SetUp();
    const long rows = testing::rowCountOfWrittenTables();
    for (int s = kFirstStageFile; s < kFirstStageFile + kStageFileCount; ++s) {
      ASSERT_TRUE(testing::writeStage(s, testing::randomStage(rows, 900 + s, 3000, 20000)));
    }
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
