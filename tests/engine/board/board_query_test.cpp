#include <gtest/gtest.h>

#include <random>

#include "engine/board/board.h"
#include "tests/common/plain_board.h"

namespace kaimo {
namespace {

TEST(BoardQuery, InitialPositionSummary) {
  Board b;
  boardInit(b);
  EXPECT_EQ(boardMobility(b, kBlack), 4);
  EXPECT_EQ(boardMobility(b, kWhite), 4);
  EXPECT_EQ(boardMobilityDiff(b), 0);
  DiscCounts counts;
  boardCount(b, counts);
  EXPECT_EQ(counts, (DiscCounts{2, 2, 96}));
  MoveMarks marks;
  EXPECT_EQ(boardLegalMarks(b, kBlack, marks), 4);
  for (int s = 0; s < kSquareCount; ++s) {
    EXPECT_EQ(marks[s], (s == 34 || s == 43 || s == 56 || s == 65) ? 1 : 0) << s;
  }
}

TEST(BoardQuery, FullAndOneColouredBoardsHaveNoMoves) {
  Board full;
  for (int s = 0; s < kSquareCount; ++s) full[s] = static_cast<std::int8_t>(s % 3 == 0 ? kWhite : kBlack);
  EXPECT_EQ(boardMobility(full, kBlack), 0);
  EXPECT_EQ(boardMobility(full, kWhite), 0);
  DiscCounts counts;
  boardCount(full, counts);
  EXPECT_EQ(counts[2], 0);

  Board onlyBlack;
  onlyBlack.fill(kEmpty);
  onlyBlack[44] = onlyBlack[45] = onlyBlack[55] = kBlack;
  EXPECT_EQ(boardMobility(onlyBlack, kBlack), 0);
  EXPECT_EQ(boardMobility(onlyBlack, kWhite), 0);
}

TEST(BoardQuery, WallBreaksARunAndIsNeverCounted) {
  Board b;
  b.fill(kEmpty);
  b[31] = kWhite;
  b[32] = kWall;
  b[33] = kBlack;
  EXPECT_EQ(boardIsLegal(b, 30, kBlack), 0);
  b[32] = kWhite;
  EXPECT_EQ(boardIsLegal(b, 30, kBlack), 1);
  b[7] = kWall;
  b[70] = kWall;
  DiscCounts counts;
  boardCount(b, counts);
  EXPECT_EQ(counts, (DiscCounts{1, 2, 95}));
  EXPECT_EQ(boardIsLegal(b, 7, kBlack), 0);
}

TEST(BoardQuery, MobilityCountAndLegalityAgreeWithThePlainAlgorithm) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 4000; ++trial) {
    const Board b = trial % 2 ? plain::randomBoard(rng, trial % 4 == 1 ? 10 : 0) : plain::randomGame(rng, trial % 95);
    for (int colour = 0; colour < 2; ++colour) {
      ASSERT_EQ(boardMobility(b, colour), plain::mobility(b, colour)) << trial;
      MoveMarks marks;
      const int n = boardLegalMarks(b, colour, marks);
      ASSERT_EQ(n, plain::mobility(b, colour));
      for (int s = 0; s < kSquareCount; ++s) {
        Board scratch;
        ASSERT_EQ(marks[s], plain::play(b, scratch, s, colour) > 1 ? 1 : 0) << "square " << s;
      }
    }
    DiscCounts fast, expected;
    boardCount(b, fast);
    plain::count(b, expected);
    ASSERT_EQ(fast, expected);
  }
}

TEST(BoardQuery, PackedKeyLayout) {
  Board b;
  b.fill(kEmpty);
  PositionKey key;
  boardPackKey(key, b, kBlack, 0);
  for (int i = 0; i < 25; ++i) EXPECT_EQ(key[i], 0xAA);
  EXPECT_EQ(key[25], 0);

  boardInit(b);
  b[0] = kWall;
  PositionKey black, white;
  boardPackKey(black, b, kBlack, 0);
  boardPackKey(white, b, kWhite, 0);
  for (int i = 0; i < 25; ++i) EXPECT_EQ(black[i], white[i]);
  EXPECT_EQ(black[25] ^ white[25], 0x80);
  EXPECT_EQ(black[0] & 3, kWall);
  // Square 45 sits in byte 11, bits 2..3.
  EXPECT_EQ((black[11] >> 2) & 3, kBlack);
  boardPackKey(black, b, kBlack, 0x1ff);
  EXPECT_EQ(black[25], 0x7f);
}

}  // namespace
}  // namespace kaimo
