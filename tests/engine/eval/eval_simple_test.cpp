#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/eval/eval_simple.h"
#include "engine/eval/eval_simple_bits.h"
#include "engine/eval/routines.h"
#include "engine/eval/score.h"

namespace kaimo {
namespace {

int evaluate(const Board& b, int side = kBlack) {
  DiscCounts counts;
  boardCount(b, counts);
  return evalSimple(b, 0, side, counts);
}

TEST(Score, FinalAndDiff) {
  EXPECT_EQ(scoreFinal(60, 40), 20000);
  EXPECT_EQ(scoreFinal(0, 30), -SCORE_WIPEOUT);
  EXPECT_EQ(scoreFinal(25, 0), SCORE_WIPEOUT);
  EXPECT_EQ(scoreFinal(0, 0), -SCORE_WIPEOUT);
  EXPECT_EQ(scoreDiff(25, 0), 25000);
  EXPECT_TRUE(isMarker(SCORE_NONE));
  EXPECT_TRUE(isMarker(SCORE_EVAL_ERROR));
  EXPECT_FALSE(isMarker(SCORE_INF));
  EXPECT_FALSE(isMarker(SCORE_NO_MOVE));
}

TEST(EvalSimple, InitialPositionIsZeroAndSideDoesNotMatter) {
  Board b;
  boardInit(b);
  EXPECT_EQ(evaluate(b, kBlack), 0);
  EXPECT_EQ(evalOrdering(b, 0, kWhite), 0);
  b[43] = kBlack;
  EXPECT_EQ(evaluate(b, kBlack), evaluate(b, kWhite));
}

TEST(EvalSimple, FullBoardIsScoredByTheFinalCount) {
  Board b;
  for (int s = 0; s < 100; ++s) b[s] = static_cast<std::int8_t>(s < 60 ? kBlack : kWhite);
  EXPECT_EQ(evaluate(b), 20000);
}

// A board with a given number of empty squares in columns 0 and 1, a wall
// column that keeps them from every disc (so nobody can move), and a disc
// surplus for black in columns 3 to 9; corner and inner-corner squares hold
// walls.
Board surplusBoard(int empties, int surplus) {
  Board b;
  b.fill(kWall);
  auto special = [](int s) {
    return s == 0 || s == 9 || s == 90 || s == 99 || s == 11 || s == 18 || s == 81 || s == 88;
  };
  int s = 0;
  for (int placed = 0; placed < empties; ++s) {
    if (!special(s)) b[s] = kEmpty, ++placed;
  }
  s = 30;
  for (int placed = 0; placed < 40 + surplus; ++s) {
    if (!special(s)) b[s] = static_cast<std::int8_t>(placed++ < 20 + surplus ? kBlack : kWhite);
  }
  return b;
}

TEST(EvalSimple, DiscTermChangesSignAtTenEmpties) {
  const Board eleven = surplusBoard(11, 5);
  const Board ten = surplusBoard(10, 5);
  ASSERT_EQ(boardMobilityDiff(eleven), 0);
  ASSERT_EQ(boardMobilityDiff(ten), 0);
  // Walls fill the corners in these boards: they contribute nothing.
  EXPECT_EQ(evaluate(eleven), -5000);
  EXPECT_EQ(evaluate(ten), 5000);
}

TEST(EvalSimple, CornersAndInnerCorners) {
  Board b;
  boardInit(b);
  const int base = evaluate(b);
  Board inner = b;
  inner[11] = kBlack;
  Board corner = b;
  corner[0] = kBlack;
  // Neither disc touches a line through the centre, so mobility is unchanged;
  // the lone disc costs one disc of margin (fewer is better in the midgame).
  EXPECT_EQ(evaluate(inner) - base, -10000 - 1000);
  EXPECT_EQ(evaluate(corner) - base, 50000 - 1000);
  Board walls = b;
  walls[0] = walls[11] = walls[88] = walls[99] = kWall;
  EXPECT_EQ(evaluate(walls), base);
}

// The search scores its leaves on the masks: the same value as evalSimple on
// boards of every stage, with walls on corners and beside them.
TEST(EvalSimpleBits, AgreesWithEvalSimple) {
  std::mt19937 rng(17);
  for (int i = 0; i < 3000; ++i) {
    Board b;
    const int emptyPercent = static_cast<int>(rng() % 101);
    const int wallPercent = i % 2 == 0 ? 0 : static_cast<int>(rng() % 30);
    for (auto& square : b) {
      const int draw = static_cast<int>(rng() % 100);
      square = draw < wallPercent                  ? kWall
               : draw < wallPercent + emptyPercent ? kEmpty
                                                   : static_cast<std::int8_t>(rng() & 1);
    }
    DiscCounts counts;
    boardCount(b, counts);
    const BitBoard bits = toBits(b);
    ASSERT_EQ(evalSimpleBits(bits.black, bits.white, bits.empty), evalSimple(b, 0, kBlack, counts)) << i;
  }
}

TEST(Routines, TableOrder) {
  ASSERT_GE(routineCount(), 2);
  EXPECT_EQ(std::string(routineTable[0].name), "人間");
  EXPECT_EQ(std::string(routineTable[1].name), "狸");
  EXPECT_EQ(routineIndexOf("狸"), 1);
  EXPECT_EQ(routineIndexOf("nobody"), -1);
}

}  // namespace
}  // namespace kaimo
