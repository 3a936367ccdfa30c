// The opening book through the controller: a computer side in the book plays
// one of its close moves without a search, says so in its pane, and searches
// once the book ends; the hint shows the book's values; the book can be off.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/controller/game_texts.h"
#include "engine/book/book_choice.h"
#include "tests/app/controller/controller_fixture.h"
#include "tests/common/small_book.h"

namespace kaimo {
namespace {

using testing::kComputer;
using testing::kHuman;
using testing::legalSquares;
using testing::quickSettings;
using testing::tickUntil;

class BookPlay : public testing::ControllerFixture<> {
 protected:
  // Every position within four plies of the start; in play for the first four.
  void makeWithBook(const PlayerSettings& s) {
    make(s);
    book = std::make_shared<const OpeningBook>(testing::smallBook(4));
    c().book().setBook(book);
  }
  std::shared_ptr<const OpeningBook> book;
};

TEST_F(BookPlay, AComputerSidePlaysTheBooksCloseMovesThenSearches) {
  makeWithBook(quickSettings(kComputer, kComputer));
  const SideSettings side{.routine = kComputer, .normalDepth = 2, .exactDepth = 4};
  c().start();
  for (int ply = 0; ply < 4; ++ply) {
    const Board before = c().game().board();
    const int mover = c().game().side();
    const std::vector<BookMove> close = bookCandidates(*book, before, mover, side);
    ASSERT_FALSE(close.empty()) << ply;
    ASSERT_TRUE(tickUntil(c(), [&] { return c().game().history().size() == static_cast<std::size_t>(ply + 2); }));
    const int played = c().game().history()[ply].move;
    const auto pick = std::find_if(close.begin(), close.end(), [&](const BookMove& m) { return m.square == played; });
    ASSERT_NE(pick, close.end()) << "ply " << ply << " played a move outside the book's close ones";
    EXPECT_EQ(window.panes[mover + 1], texts::bookMoveText(bookValueToScore(pick->value)).japanese);
    if (ply < 3) {  // the next book move is already posted, and shown beside the board
      const ThinkingDisplay& thinking = c().computer().thinking();
      EXPECT_TRUE(thinking.fromBook);
      EXPECT_EQ(thinking.colour, c().game().side());
      EXPECT_EQ(thinking.line.moves.size(), 1u);
    }
  }
  EXPECT_FALSE(window.paneShowed(kBlackPane, texts::kNormalRead.japanese));
  EXPECT_FALSE(window.paneShowed(kWhitePane, texts::kNormalRead.japanese));
  ASSERT_TRUE(tickUntil(c(), [&] { return c().game().history().size() == 6; }));
  EXPECT_TRUE(window.paneShowed(kBlackPane, texts::kNormalRead.japanese));
  EXPECT_NE(window.panes[kBlackPane].rfind(texts::kBookMove.japanese, 0), 0u) << "a searched move: " << window.panes[kBlackPane];
  c().pause();
}

TEST_F(BookPlay, WithTheBookOffTheComputerSearchesFromTheFirstMove) {
  makeWithBook(quickSettings(kComputer, kHuman));
  c().book().setEnabled(false);
  c().start();
  ASSERT_TRUE(tickUntil(c(), [&] { return c().game().history().size() == 2; }));
  EXPECT_TRUE(window.paneShowed(kBlackPane, texts::kNormalRead.japanese));
  EXPECT_FALSE(window.paneShowed(kBlackPane, texts::kBookMove.japanese));
}

TEST_F(BookPlay, TheHintInTheBookShowsTheBooksValuesAtOnce) {
  makeWithBook(quickSettings(kHuman, kHuman));
  c().startHint();
  EXPECT_EQ(c().mode(), ViewMode::Idle);
  const std::vector<BookMove> moves = book->movesOf(c().game().board(), c().game().side());
  ASSERT_EQ(moves.size(), legalSquares(c().game().board(), c().game().side()).size());
  for (const BookMove& m : moves) EXPECT_EQ(c().study().squareValues()[m.square], bookValueToScore(m.value));
  EXPECT_EQ(c().study().bestSquare(), moves.front().square);
  EXPECT_EQ(window.panes[kProgressPane],
            texts::bookHintText(moves.front().square, bookValueToScore(moves.front().value)).japanese);

  c().book().setEnabled(false);
  c().startHint();
  EXPECT_EQ(window.panes[kProgressPane], texts::kHint.japanese) << "without the book the hint searches";
  c().pause();
}

}  // namespace
}  // namespace kaimo
