#include <gtest/gtest.h>

#include <random>

#include "engine/board/board.h"
#include "tests/common/plain_board.h"

namespace kaimo {
namespace {

Board emptyBoard() {
  Board b;
  b.fill(kEmpty);
  return b;
}

TEST(BoardPlay, InitialPositionHasFourSingleFlipMoves) {
  Board start;
  EXPECT_EQ(boardInit(start), kBlack);
  EXPECT_EQ(start[44], kWhite);
  EXPECT_EQ(start[45], kBlack);
  EXPECT_EQ(start[54], kBlack);
  EXPECT_EQ(start[55], kWhite);
  for (int s = 0; s < kSquareCount; ++s) {
    Board out;
    const int result = boardPlay(start, out, s, kBlack);
    const bool expectedLegal = s == 43 || s == 34 || s == 65 || s == 56;
    EXPECT_EQ(result, expectedLegal ? 2 : 1) << "square " << s;
  }
}

TEST(BoardPlay, OccupiedSquareLeavesOutputAndBoardUntouched) {
  Board start;
  boardInit(start);
  Board out = emptyBoard();
  out[7] = kWall;
  const Board before = out;
  EXPECT_EQ(boardPlay(start, out, 44, kBlack), 1);
  EXPECT_EQ(out, before);
  Board walled = start;
  walled[43] = kWall;
  const Board walledBefore = walled;
  EXPECT_EQ(boardPlayInPlace(walled, 43, kBlack), 1);
  EXPECT_EQ(walled, walledBefore);
  EXPECT_EQ(boardPlay(start, out, -1, kBlack), 1);
  EXPECT_EQ(boardPlay(start, out, 100, kBlack), 1);
}

TEST(BoardPlay, CornerCapturesEightAlongEdgeAndInThreeDirections) {
  Board b = emptyBoard();
  for (int column = 1; column <= 8; ++column) b[squareAt(column, 0)] = kWhite;
  b[90] = kBlack;  // closes the top edge
  b[1] = kWhite;   // down column 0
  b[2] = kBlack;
  b[11] = kWhite;  // the long diagonal
  b[22] = kWhite;
  b[33] = kBlack;
  Board out;
  EXPECT_EQ(boardPlay(b, out, 0, kBlack), 1 + 8 + 1 + 2);
  for (int column = 0; column <= 9; ++column) EXPECT_EQ(out[squareAt(column, 0)], kBlack);
  EXPECT_EQ(out[1], kBlack);
  EXPECT_EQ(out[11], kBlack);
  EXPECT_EQ(out[22], kBlack);
}

TEST(BoardPlay, RunsEndingAtEdgeEmptyOrWallFlipNothing) {
  Board b = emptyBoard();
  b[1] = kWhite;  // column 0 runs to row 9 without a black disc
  for (int row = 2; row <= 9; ++row) b[row] = kWhite;
  b[10] = kWhite;  // then an empty square
  b[11] = kWhite;  // then a wall
  b[22] = kWall;
  b[33] = kBlack;
  Board out;
  EXPECT_EQ(boardPlay(b, out, 0, kBlack), 1);
}

TEST(BoardPlay, EdgeSquaresNeverWrapIntoTheNextColumn) {
  // Square 9 (column 0, row 9) and square 10 (column 1, row 0) are not neighbours.
  Board b = emptyBoard();
  b[10] = kWhite;
  b[11] = kBlack;
  Board out;
  EXPECT_EQ(boardPlay(b, out, 9, kBlack), 1);
  b = emptyBoard();
  b[9] = kWhite;
  b[8] = kBlack;
  EXPECT_EQ(boardPlay(b, out, 10, kBlack), 1);
}

TEST(BoardPlay, InPlaceMoveThatCapturesNothingLeavesTheDisc) {
  Board b = emptyBoard();
  EXPECT_EQ(boardPlayInPlace(b, 37, kWhite), 1);
  EXPECT_EQ(b[37], kWhite);
}

// The specialised paths must give exactly what the plain loop gives, on every
// square of many random positions, walls included.
TEST(BoardPlay, EverySquareAgreesWithThePlainAlgorithm) {
  std::mt19937 rng(20261207);
  for (int trial = 0; trial < 3000; ++trial) {
    const Board b =
        trial % 2 ? plain::randomBoard(rng, trial % 3 == 0 ? 8 : 0) : plain::randomGame(rng, 4 + trial % 90);
    for (int colour = 0; colour < 2; ++colour) {
      for (int s = 0; s < kSquareCount; ++s) {
        Board expected;
        expected.fill(kWall);
        Board fast = expected;
        const int plainResult = plain::play(b, expected, s, colour);
        const int fastResult = boardPlay(b, fast, s, colour);
        ASSERT_EQ(fastResult, plainResult) << "square " << s << " trial " << trial;
        if (plainResult > 1) {
          ASSERT_EQ(fast, expected) << "square " << s << " trial " << trial;
          Board inPlace = b;
          ASSERT_EQ(boardPlayInPlace(inPlace, s, colour), plainResult);
          ASSERT_EQ(inPlace, expected);
        }
        ASSERT_EQ(boardFlipCount(b, s, colour), plainResult);
      }
    }
  }
}

}  // namespace
}  // namespace kaimo
