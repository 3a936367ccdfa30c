#include <gtest/gtest.h>

#include <random>

#include "engine/book/book_key.h"
#include "engine/eval/pattern_shapes.h"

namespace kaimo {
namespace {

// A position of random play, `plies` moves from the start.
std::pair<Board, int> playedPosition(int plies, unsigned seed) {
  std::mt19937 random(seed);
  Board board;
  int side = boardInit(board);
  for (int ply = 0; ply < plies; ++ply) {
    MoveMarks marks;
    if (boardLegalMarks(board, side, marks) == 0) break;
    std::vector<int> moves;
    for (int s = 0; s < kSquareCount; ++s) {
      if (marks[s] != 0) moves.push_back(s);
    }
    boardPlayInPlace(board, moves[random() % moves.size()], side);
    side = opponentOf(side);
  }
  return {board, side};
}

TEST(BookKey, IsTheSameForEveryImageOfAPositionAndForItsColoursExchanged) {
  for (const unsigned seed : {1u, 2u, 3u}) {
    const auto [board, side] = playedPosition(14, seed);
    const std::optional<BookKey> key = bookKeyOf(board, side);
    ASSERT_TRUE(key.has_value());
    for (int t = 0; t < kSymmetryCount; ++t) {
      Board image;
      for (int s = 0; s < kSquareCount; ++s) image[kSymmetryMaps[t][s]] = board[s];
      EXPECT_EQ(bookKeyOf(image, side), key) << "symmetry " << t;
      // The key is the smallest image, the form the book file stores.
      BookKey masks;
      for (int s = 0; s < kSquareCount; ++s) {
        if (image[s] == side) masks.mover |= squareBit(s);
        if (image[s] == opponentOf(side)) masks.opponent |= squareBit(s);
      }
      EXPECT_FALSE(masks < *key) << "symmetry " << t;
    }
    Board exchanged = board;
    for (auto& square : exchanged) {
      if (square == kBlack || square == kWhite) square = static_cast<std::int8_t>(opponentOf(square));
    }
    EXPECT_EQ(bookKeyOf(exchanged, opponentOf(side)), key);
    EXPECT_EQ(bookKeyOf(boardOfKey(*key), kBlack), key);
    // The same discs with the other side to move are another position.
    EXPECT_NE(bookKeyOf(board, opponentOf(side)), key);
  }
}

TEST(BookKey, AnEditedBoardWithAWallHasNone) {
  Board board;
  const int side = boardInit(board);
  board[0] = kWall;
  EXPECT_FALSE(bookKeyOf(board, side).has_value());
}

}  // namespace
}  // namespace kaimo
