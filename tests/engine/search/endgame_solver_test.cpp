#include "engine/search/endgame_solver.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/engine/search/reference_minimax.h"
#include "tests/engine/search/search_test_support.h"

namespace kaimo {
namespace {

using testing::boardFromText;
using testing::countsOf;
using testing::EmptiesOf;

constexpr int kInf = SCORE_INF;

// Black a, white can't answer at b, black plays b as well; b alone is no
// move for black. The white disc in the far corner can never be flipped.
constexpr const char* kBothMovesForBlack =
    "xo.o.x----\n----------\n----------\n----------\n----------\n"
    "----------\n----------\n----------\n----------\n---------o\n";
constexpr int kA = 20;  // column c, row 1
constexpr int kB = 40;  // column e, row 1

TEST(SolveLastPly, OneEmptySquareGivesTheExactMargin) {
  // Black at square 0 flips 1, 2 and 3 (closed by 4); 10 and 11 are black.
  Board b;
  b[0] = kEmpty;
  b[1] = b[2] = b[3] = kWhite;
  b[4] = b[10] = b[11] = kBlack;
  int black = 3;
  for (int s = 5; s < kSquareCount; ++s) {
    if (s == 10 || s == 11) continue;
    b[s] = black < 52 ? kBlack : kWhite;
    black += b[s] == kBlack;
  }
  const DiscCounts counts = countsOf(b);
  ASSERT_EQ(counts, (DiscCounts{52, 47, 1}));
  const EmptiesOf empties(b);
  std::int64_t leaves = 0;
  EXPECT_EQ(solveLastPly(b, kBlack, -kInf, kInf, evalSimple, leaves, empties.list, counts), 12000);
  EXPECT_EQ(leaves, 1);
  DiscCounts scratch = counts;
  EXPECT_EQ(solveEndgame(b, kBlack, 1, -kInf, kInf, evalSimple, leaves, empties.list, scratch), 12000);
  EXPECT_EQ(scratch, counts);
}

TEST(SolveTwoEmpties, BothMovesCountForTheSideWhenTheOpponentMustPass) {
  const Board b = boardFromText(kBothMovesForBlack);
  std::int64_t leaves = 0;
  // 6 black to 1 white at the end.
  EXPECT_EQ(solveTwoEmpties(b, kBlack, -kInf, kInf, leaves, kA, kB, 2, 3), 5000);
  EXPECT_EQ(leaves, 1);
  // The read to the end never asks the evaluation, pass or not.
  DiscCounts counts = countsOf(b);
  const EmptiesOf empties(b);
  EXPECT_EQ(solveEndgame(b, kBlack, 2, -kInf, kInf, testing::failingEval, leaves, empties.list, counts), 5000);
}

TEST(SolveTwoEmpties, NobodyCanMoveGivesNoMoveAndTheCallerScoresTheEnd) {
  const Board b = boardFromText(
      "x---------\n.---------\n----------\n----------\n----------\n"
      "----------\n----------\n----------\n---------.\n---------o\n");
  std::int64_t leaves = 0;
  EXPECT_EQ(solveTwoEmpties(b, kBlack, -kInf, kInf, leaves, 1, 98, 1, 1), SCORE_NO_MOVE);
  EXPECT_EQ(solveTwoEmpties(b, kWhite, -kInf, kInf, leaves, 1, 98, 1, 1), SCORE_NO_MOVE);
  EXPECT_EQ(leaves, 0);
  // One ply up: black's move leaves those two squares; the game ends there.
  Board up = b;
  up[2] = kEmpty;
  up[3] = kWhite;
  up[4] = kBlack;  // black at 2 flips 3
  DiscCounts counts = countsOf(up);
  const EmptiesOf empties(up);
  EXPECT_EQ(solveThreeEmpties(up, kBlack, -kInf, kInf, leaves, 1, 2, 98, counts), scoreFinal(4, 1));
  EXPECT_EQ(solveEndgame(up, kBlack, 3, -kInf, kInf, testing::failingEval, leaves, empties.list, counts),
            scoreFinal(4, 1));
}

TEST(SolveTwoEmpties, TakingTheLastDiscWithASquareLeftIsAWipeOut) {
  const Board b = boardFromText(
      "xo.-------\n----------\n----------\n----------\n----------\n"
      "----------\n----------\n----------\n----------\n---------.\n");
  std::int64_t leaves = 0;
  EXPECT_EQ(solveTwoEmpties(b, kBlack, -kInf, kInf, leaves, 20, 99, 1, 1), SCORE_WIPEOUT);
}

TEST(SolveTwoEmpties, FillingTheLastSquareOfAWalledBoardIsAWipeOutToo) {
  // Black's last move takes every white disc and fills the board.
  const Board b = boardFromText(
      "xoo.------\n----------\n----------\n----------\n----------\n"
      "----------\n----------\n----------\n----------\n----------\n");
  DiscCounts counts = countsOf(b);
  const EmptiesOf empties(b);
  std::int64_t leaves = 0;
  EXPECT_EQ(solveLastPly(b, kBlack, -kInf, kInf, evalSimple, leaves, empties.list, counts), SCORE_WIPEOUT);
  EXPECT_EQ(solveEndgame(b, kBlack, 1, -kInf, kInf, evalSimple, leaves, empties.list, counts), SCORE_WIPEOUT);
}

TEST(SolveTwoEmpties, CutsOffAtBetaAndFailsLowWithTheBestValue) {
  // Both first moves are legal for black: a gains 3 discs, b gains 1.
  const Board b = boardFromText(
      "xo.o.ox---\n----------\n----------\n----------\n----------\n"
      "----------\n----------\n----------\n----------\n---------o\n");
  std::int64_t leaves = 0;
  const int full = solveTwoEmpties(b, kBlack, -kInf, kInf, leaves, kA, kB, 2, 4);
  EXPECT_EQ(leaves, 2);
  leaves = 0;
  const int cut = solveTwoEmpties(b, kBlack, -kInf, -90000, leaves, kA, kB, 2, 4);
  EXPECT_EQ(leaves, 1) << "the cutoff must come right after the first move";
  EXPECT_GE(cut, -90000);
  leaves = 0;
  EXPECT_EQ(solveTwoEmpties(b, kBlack, 90000, kInf, leaves, kA, kB, 2, 4), full);  // below alpha, as found
  EXPECT_LT(full, 90000);
}

TEST(SolveEndgame, FullBoardIsCountedNeverEvaluated) {
  Board b;
  for (int s = 0; s < kSquareCount; ++s) b[s] = s < 60 ? kBlack : kWhite;
  DiscCounts counts = countsOf(b);
  std::int64_t leaves = 0;
  const std::int8_t none[] = {-1};
  EXPECT_EQ(solveEndgame(b, kBlack, 0, -kInf, kInf, testing::failingEval, leaves, none, counts), 20000);
  EXPECT_EQ(solveEndgame(b, kWhite, 0, -kInf, kInf, testing::failingEval, leaves, none, counts), -20000);
  EXPECT_EQ(leaves, 2);
}

TEST(SolveEndgame, EvaluationMarkersComeBackUnchanged) {
  std::mt19937 rng(3);
  int side;
  const Board b = plain::randomGame(rng, 80, &side);
  DiscCounts counts = countsOf(b);
  const EmptiesOf empties(b);
  std::int64_t leaves = 0;
  for (int depth : {1, 2, 3, 4}) {
    EXPECT_EQ(solveEndgame(b, side, depth, -kInf, kInf, testing::failingEval, leaves, empties.list, counts),
              SCORE_EVAL_ERROR);
  }
}

// Reads that reach the end, in every shape of the cascade, against minimax.
TEST(SolveEndgame, ReadsToTheEndMatchMinimax) {
  std::mt19937 rng(5);
  for (int i = 0; i < 400; ++i) {
    const int emptyCount = 1 + i % 7;
    const Board b = testing::randomEndgame(rng, emptyCount, i % 3 == 0 ? 30 : 0, i % 5 == 0 ? 85 : 50);
    const int side = static_cast<int>(rng() & 1);
    if (boardMobility(b, side) == 0) continue;
    DiscCounts counts = countsOf(b);
    const DiscCounts before = counts;
    const EmptiesOf empties(b);
    std::int64_t leaves = 0;
    EXPECT_EQ(solveEndgame(b, side, emptyCount, -kInf, kInf, testing::failingEval, leaves, empties.list, counts),
              testing::referenceValue(b, side))
        << i;
    EXPECT_EQ(counts, before);
  }
}

// The solvers trust the list to name every empty square; one that misses a
// square must not make them skip it.
TEST(SolveEndgame, AListMissingAnEmptySquareDoesNotHideIt) {
  std::mt19937 rng(9);
  for (int i = 0; i < 200; ++i) {
    const int emptyCount = 1 + i % 3;
    const Board b = testing::randomEndgame(rng, emptyCount, 0, 50);
    const int side = static_cast<int>(rng() & 1);
    if (boardMobility(b, side) == 0) continue;
    std::int8_t list[kEmptiesCapacity];
    const int n = buildEmpties(b, list);
    list[n - 1] = kEmptiesEnd;  // drop the last empty square
    DiscCounts counts = countsOf(b);
    std::int64_t leaves = 0;
    EXPECT_EQ(solveEndgame(b, side, emptyCount, -kInf, kInf, evalSimple, leaves, list, counts),
              testing::referenceValue(b, side))
        << i;
  }
}

// An evaluation may use its counts as scratch; the solver's own counts, kept
// by arithmetic across the moves of a node, must not suffer from it.
TEST(SolveEndgame, AnEvaluationThatScratchesItsCountsChangesNothing) {
  std::mt19937 rng(13);
  for (int i = 0; i < 50; ++i) {
    int side;
    const Board b = plain::randomGame(rng, 70 + i % 10, &side);
    const EmptiesOf empties(b);
    for (int depth : {1, 2, 3}) {
      DiscCounts clean = countsOf(b);
      DiscCounts scratched = countsOf(b);
      std::int64_t leaves = 0;
      const int expected = solveEndgame(b, side, depth, -kInf, kInf, evalSimple, leaves, empties.list, clean);
      EXPECT_EQ(solveEndgame(b, side, depth, -kInf, kInf, testing::scratchingEval, leaves, empties.list, scratched),
                expected);
      EXPECT_EQ(scratched, countsOf(b));
    }
  }
}

}  // namespace
}  // namespace kaimo
