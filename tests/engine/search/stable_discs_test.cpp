#include "engine/search/stable_discs.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/engine/search/search_test_support.h"

namespace kaimo {
namespace {

using testing::boardFromText;

Bits stableOf(const Board& b, int colour) {
  const BitBoard bits = toBits(b);
  return colour == kBlack ? stableDiscs(bits.black, bits.white, bits.empty)
                          : stableDiscs(bits.white, bits.black, bits.empty);
}

// Every square that changes colour in some line of play from `b`, `side`
// to move (a pass when it has no move).
void turnedSquares(const Board& b, int side, Bits& turned) {
  bool moved = false;
  Board child;
  for (int s = 0; s < kSquareCount; ++s) {
    if (b[s] != kEmpty || boardPlay(b, child, s, side) <= 1) continue;
    moved = true;
    for (int t = 0; t < kSquareCount; ++t) {
      if (b[t] != kEmpty && b[t] != child[t]) turned |= squareBit(t);
    }
    turnedSquares(child, opponentOf(side), turned);
  }
  if (!moved && boardMobility(b, opponentOf(side)) > 0) turnedSquares(b, opponentOf(side), turned);
}

// No line of play turns over a disc called stable, on boards of a few empty
// squares with and without walls; and the rule finds some.
TEST(StableDiscs, NoLineOfPlayTurnsAStableDisc) {
  std::mt19937 rng(24);
  int found = 0;
  for (int i = 0; i < 200; ++i) {
    const Board b = testing::randomEndgame(rng, 3 + i % 4, i % 3 == 0 ? 20 : 0, 50);
    Bits turned = 0;
    turnedSquares(b, kBlack, turned);
    turnedSquares(b, kWhite, turned);
    const Bits stable = stableOf(b, kBlack) | stableOf(b, kWhite);
    ASSERT_EQ(stable & turned, Bits{0}) << i;
    found += bitCount(stable);
  }
  EXPECT_GT(found, 200 * 20);
}

TEST(StableDiscs, CornersEdgesAndFullLines) {
  // Black's corner and the edge run from it are stable, the black disc
  // after a white one on the edge is not; the full first row of squares
  // (a column of the board) holds every disc of it.
  const Board b = boardFromText(
      "xxxo.x....\n"
      "x.........\n"
      "x.........\n"
      "o.........\n"
      "x.........\n"
      "x.........\n"
      "x.........\n"
      "x.........\n"
      "x.........\n"
      "o.........\n");
  const Bits black = stableOf(b, kBlack), white = stableOf(b, kWhite);
  for (const int square : {0, 10, 20, 1, 2, 4, 5, 6, 7, 8}) EXPECT_NE(black & squareBit(square), Bits{0}) << square;
  for (const int square : {3, 9}) EXPECT_NE(white & squareBit(square), Bits{0}) << square;
  EXPECT_EQ(black & squareBit(50), Bits{0});
  // A disc walled in on every line is stable whatever is around it.
  const Board walled = boardFromText(
      "----------\n"
      "-x-.......\n"
      "----------\n"
      "..........\n"
      "..........\n"
      "..........\n"
      "..........\n"
      "..........\n"
      "..........\n"
      "..........\n");
  EXPECT_EQ(stableOf(walled, kBlack), squareBit(squareAt(1, 1)));
}

}  // namespace
}  // namespace kaimo
