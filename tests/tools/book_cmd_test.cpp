#include <gtest/gtest.h>

#include <algorithm>

#include "engine/board/notation.h"
#include "tests/common/capture.h"
#include "tests/common/small_book.h"
#include "tests/common/temp_dir.h"
#include "tools/cli/commands.h"

namespace kaimo::cli {
namespace {

using kaimo::testing::captureCommand;
using kaimo::testing::Captured;

using BookCommand = kaimo::testing::InTempDir;

long lineCount(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

TEST_F(BookCommand, ShowListsTheBooksMovesWhereItHasThem) {
  writeFile("book.dat", encodeBook(testing::smallBook(2)));
  // The initial position: a heading, then each of the four first moves.
  const Captured initial = captureCommand(runBook, {"show", "--book", "book.dat"});
  EXPECT_EQ(initial.status, 0);
  EXPECT_EQ(lineCount(initial.output), 5) << initial.output;
  EXPECT_EQ(initial.output.rfind("in the book: value ", 0), 0u) << initial.output;
  // Two plies in, the book ends; three plies in, it knows nothing.
  Board board;
  int side = boardInit(board);
  std::string moves;
  for (int ply = 0; ply < 3; ++ply) {
    const int square = bookStepsOf(board, side).front().square;
    moves += static_cast<char>('a' + columnOf(square));
    moves += static_cast<char>('0' + (rowOf(square) + 1) % 10);
    boardPlayInPlace(board, square, side);
    side = opponentOf(side);
    const Captured later = captureCommand(runBook, {"show", "--book", "book.dat", "--moves", moves});
    EXPECT_EQ(later.status, ply < 1 ? 0 : 1) << moves;
    const char* heading = ply == 0 ? "in the book" : ply == 1 ? "the book ends here" : "not in the book";
    EXPECT_EQ(later.output.rfind(heading, 0), 0u) << later.output;
  }
  writeFile("cut.dat", encodeBook(testing::smallBook(2)).substr(0, 100));
  EXPECT_EQ(captureCommand(runBook, {"show", "--book", "cut.dat"}).status, 2);
  EXPECT_EQ(captureCommand(runBook, {"show", "--book", "missing.dat"}).status, 2);
  EXPECT_THROW(captureCommand(runBook, {"list"}), tools::UsageError);
}

// `book show` marks the moves a computer side chooses from: one exactly at
// the margin below the best, none beyond it.
TEST_F(BookCommand, ShowMarksTheMovesWithinTheMargin) {
  Board board;
  int side;
  writeFile("book.dat", encodeBook(testing::bookAtTheMargin(board, side)));
  Board initial;
  const int first = bookStepsOf(initial, boardInit(initial)).front().square;  // the move bookAtTheMargin plays
  const Captured shown = captureCommand(runBook, {"show", "--book", "book.dat", "--moves", squareName(first)});
  ASSERT_EQ(shown.status, 0) << shown.output;
  const std::vector<BookStep> steps = bookStepsOf(board, side);
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const std::string name = "\n" + squareName(steps[i].square) + " ";
    const std::size_t line = shown.output.find(name);
    ASSERT_NE(line, std::string::npos) << shown.output;
    const std::string text = shown.output.substr(line + 1, shown.output.find('\n', line + 1) - line - 1);
    EXPECT_EQ(text.ends_with(" *"), i < 2) << text;
  }
}

}  // namespace
}  // namespace kaimo::cli
