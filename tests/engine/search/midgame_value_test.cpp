// A normal read gives the value of plain alpha-beta over the same tree, and
// plays a move of that value, on positions of real games and on boards with
// walls and passes.
#include <gtest/gtest.h>

#include <random>

#include "engine/eval/routines.h"
#include "engine/search/search_driver.h"
#include "tests/engine/search/reference_minimax.h"

namespace kaimo {
namespace {

using testing::referenceDepthValue;

// The value of playing `move` in a read of `depth` plies.
int referenceMoveValue(const Board& b, int side, int move, int depth) {
  Board child;
  boardPlay(b, child, move, side);
  if (depth == 1 || boardMobility(child, opponentOf(side)) > 0) {
    return -referenceDepthValue(child, opponentOf(side), depth - 1, evalSimple);
  }
  if (boardMobility(child, side) > 0) return referenceDepthValue(child, side, depth - 1, evalSimple);
  return scoreFinal(testing::discsOf(child, side), testing::discsOf(child, opponentOf(side)));
}

void expectPlainValue(const Board& b, int side, int depth) {
  if (boardMobility(b, side) == 0) return;
  SearchJob job;
  prepareComputerMove(job, b, side, SideSettings{kSimpleRoutine, depth, 0, 0, 0, 0, 0, 0}, nullptr, nullptr);
  ASSERT_LT(job.depth, testing::emptiesOf(b));
  const int value = searchRoot(b, side, job.depth, -SCORE_INF, SCORE_INF, job.context, 0, job.progressSpan);
  ASSERT_EQ(value, referenceDepthValue(b, side, job.depth, evalSimple)) << "depth " << job.depth;
  const int move = job.context.bestMove;
  ASSERT_TRUE(move >= 0 && boardIsLegal(b, move, side)) << move;
  EXPECT_EQ(referenceMoveValue(b, side, move, job.depth), value) << "move " << move << " depth " << job.depth;
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

}  // namespace
}  // namespace kaimo
