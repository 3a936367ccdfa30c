#include <gtest/gtest.h>

#include <map>
#include <set>

#include "engine/book/book_choice.h"
#include "tests/common/small_book.h"

namespace kaimo {
namespace {

using testing::smallBook;

std::pair<Board, int> initialPosition() {
  Board board;
  const int side = boardInit(board);
  return {board, side};
}

// The position after the first of the initial moves, white to move.
std::pair<Board, int> afterFirstMove() {
  auto [board, side] = initialPosition();
  boardPlayInPlace(board, bookStepsOf(board, side).front().square, side);
  return {board, opponentOf(side)};
}

// A side that reads 6 plies and the last 13 squares to the end.
const SideSettings kNormal{.routine = 2, .normalDepth = 6, .exactDepth = 13};

TEST(OpeningBook, GivesEveryMoveTheNegatedValueOfWhatFollows) {
  const OpeningBook book(smallBook(2));
  const auto [board, side] = afterFirstMove();
  const std::vector<BookMove> moves = book.movesOf(board, side);
  const std::vector<BookStep> steps = bookStepsOf(board, side);
  ASSERT_EQ(moves.size(), steps.size());
  for (std::size_t i = 1; i < moves.size(); ++i) EXPECT_GE(moves[i - 1].value, moves[i].value);
  for (const BookStep& step : steps) {
    ASSERT_EQ(step.next, BookStep::Next::Opponent);
    const auto move =
        std::find_if(moves.begin(), moves.end(), [&](const BookMove& m) { return m.square == step.square; });
    ASSERT_NE(move, moves.end());
    EXPECT_EQ(move->value, -book.find(step.key)->value);
  }
}

TEST(OpeningBook, APositionIsInTheBookOnlyWhenEveryMoveLeadsIntoIt) {
  const std::vector<BookEntry> entries = smallBook(2);
  auto [board, side] = initialPosition();
  EXPECT_FALSE(OpeningBook(entries).movesOf(board, side).empty());
  // Two plies in: the position is there, the positions after it are not.
  const BookStep first = bookStepsOf(board, side).front();
  boardPlayInPlace(board, first.square, side);
  const BookStep second = bookStepsOf(board, opponentOf(side)).front();
  boardPlayInPlace(board, second.square, opponentOf(side));
  ASSERT_NE(OpeningBook(entries).find(*bookKeyOf(board, side)), nullptr);
  EXPECT_TRUE(OpeningBook(entries).movesOf(board, side).empty());
  // One ply in, with one of its followers missing.
  std::vector<BookEntry> holed = entries;
  std::erase_if(holed, [&](const BookEntry& e) { return e.key == second.key; });
  std::tie(board, side) = initialPosition();
  boardPlayInPlace(board, first.square, side);
  EXPECT_TRUE(OpeningBook(holed).movesOf(board, opponentOf(side)).empty());
  EXPECT_FALSE(OpeningBook(entries).movesOf(board, opponentOf(side)).empty());
}

TEST(OpeningBook, AMoveThatLeavesTheOpponentNoMoveOrEndsTheGameIsTheMoversToValue) {
  // Black fills square 0 (flipping 1): white, left with the lone disc at 98,
  // has no move, so black goes on; black then fills 99 and the board is full.
  Board board;
  board.fill(kBlack);
  board[0] = kEmpty;
  board[1] = kWhite;
  board[99] = kEmpty;
  board[98] = kWhite;
  const std::vector<BookStep> steps = bookStepsOf(board, kBlack);
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].next, BookStep::Next::Mover);
  Board after = board;
  boardPlayInPlace(after, 0, kBlack);
  EXPECT_EQ(steps[0].key, bookKeyOf(after, kBlack));
  EXPECT_EQ(stepValue(steps[0], 250), 250);

  const std::vector<BookStep> last = bookStepsOf(after, kBlack);
  ASSERT_EQ(last.size(), 1u);
  EXPECT_EQ(last[0].next, BookStep::Next::End);
  EXPECT_EQ(stepValue(last[0], 0), 100 * 100);  // a wipe-out: all 100 squares black
}

TEST(BookChoice, PlaysAtRandomAmongTheMovesWithinTheMarginOfTheBest) {
  const OpeningBook book(smallBook(3));
  const auto [board, side] = afterFirstMove();
  const SideSettings& normal = kNormal;
  const std::vector<BookMove> all = book.movesOf(board, side);
  const std::vector<BookMove> close = bookCandidates(book, board, side, normal);
  ASSERT_FALSE(close.empty());
  std::set<int> wanted;
  for (const BookMove& m : all) {
    if (m.value >= all.front().value - kBookMargin) wanted.insert(m.square);
  }
  EXPECT_EQ(close.size(), wanted.size());
  std::mt19937_64 random(7);
  std::set<int> played;
  for (int draw = 0; draw < 200; ++draw) played.insert(pickBookMove(book, board, side, normal, random)->square);
  EXPECT_EQ(played, wanted);

  // A side that reads this position to the end, or one outside the book, searches.
  const SideSettings exact{.routine = 2, .normalDepth = 6, .exactDepth = 95};
  EXPECT_TRUE(bookCandidates(book, board, side, exact).empty());
  EXPECT_FALSE(pickBookMove(book, board, opponentOf(side), normal, random).has_value());
}

// The margin's edge: a move exactly kBookMargin below the best is a
// candidate, one a hundredth further is not.
TEST(BookChoice, AMoveExactlyAtTheMarginIsACandidate) {
  Board board;
  int side;
  const OpeningBook book(testing::bookAtTheMargin(board, side));
  const std::vector<BookStep> steps = bookStepsOf(board, side);
  ASSERT_GE(steps.size(), 3u);
  const std::vector<BookMove> moves = book.movesOf(board, side);
  ASSERT_EQ(moves.size(), steps.size());
  ASSERT_EQ(moves[2].value, moves[0].value - kBookMargin - 1) << "moves of one value";
  std::set<int> candidates;
  for (const BookMove& m : bookCandidates(book, board, side, kNormal)) candidates.insert(m.square);
  EXPECT_EQ(candidates, (std::set<int>{steps[0].square, steps[1].square}));
}

// The lines below a position, counted one sequence at a time.
double linesByEnumeration(const OpeningBook& book, const Board& board, int side, const SideSettings& settings) {
  const std::vector<BookMove> moves = bookCandidates(book, board, side, settings);
  if (moves.empty()) return 1;
  double lines = 0;
  for (const BookMove& move : moves) {
    Board next;
    boardPlay(board, next, move.square, side);
    lines += linesByEnumeration(book, next, opponentOf(side), settings);  // no pass this early
  }
  return lines;
}

TEST(BookChoice, MakesEveryLineOfTheBookAsLikely) {
  const OpeningBook book(smallBook(4));
  const auto [board, side] = afterFirstMove();
  const SideSettings& normal = kNormal;
  const std::vector<BookMove> moves = bookCandidates(book, board, side, normal);
  const std::vector<double> lines = bookLinesOf(book, board, side, normal, moves);
  ASSERT_EQ(lines.size(), moves.size());
  double total = 0;
  for (std::size_t i = 0; i < moves.size(); ++i) {
    Board next;
    boardPlay(board, next, moves[i].square, side);
    EXPECT_EQ(lines[i], linesByEnumeration(book, next, opponentOf(side), normal)) << i;
    total += lines[i];
  }
  // Moves with more lines below them are played more often.
  std::mt19937_64 random(11);
  std::map<int, int> played;
  constexpr int kDraws = 1000;
  for (int draw = 0; draw < kDraws; ++draw) ++played[pickBookMove(book, board, side, normal, random)->square];
  for (std::size_t i = 0; i < moves.size(); ++i) {
    EXPECT_NEAR(played[moves[i].square] / double(kDraws), lines[i] / total, 0.05) << i;
  }
}

}  // namespace
}  // namespace kaimo
