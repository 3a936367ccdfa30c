// The game and its history on their own: no window, no threads.
#include "app/controller/game.h"

#include <gtest/gtest.h>

#include "tests/app/controller/controller_fixture.h"

namespace kaimo {
namespace {

using testing::blackMustPassBoard;
using testing::firstLegalSquare;
using testing::initialBoard;
using testing::legalSquares;

// Plays the first legal move `count` times.
void playFirstMoves(Game& game, int count) {
  for (int i = 0; i < count; ++i) ASSERT_TRUE(game.playMove(firstLegalSquare(game.board(), game.side())));
}

TEST(Game, APlayFromAnEarlierPositionCutsTheLaterHistory) {
  Game game;
  playFirstMoves(game, 3);
  ASSERT_TRUE(game.goTo(1));
  const std::vector<int> moves = legalSquares(game.board(), game.side());
  ASSERT_GE(moves.size(), 2u);
  ASSERT_TRUE(game.playMove(moves.back()));
  EXPECT_EQ(game.cursor(), 2);
  EXPECT_EQ(game.history().size(), 3u);
  EXPECT_EQ(game.history()[1].move, moves.back());
  EXPECT_EQ(game.lastMove(), moves.back());
}

TEST(Game, AnIllegalOrOutsideSquareChangesNothing) {
  Game game;
  for (int square : {-1, 0, 44, kSquareCount}) {
    EXPECT_FALSE(game.playMove(square)) << square;
    EXPECT_EQ(game.history().size(), 1u);
    EXPECT_EQ(game.board(), initialBoard());
    EXPECT_FALSE(game.hasUnsavedGame());
  }
}

TEST(Game, GoToTakesEveryEntryAndNothingOutside) {
  Game game;
  playFirstMoves(game, 2);
  EXPECT_FALSE(game.goTo(-1));
  EXPECT_FALSE(game.goTo(3));
  EXPECT_EQ(game.cursor(), 2);
  ASSERT_TRUE(game.goTo(0));
  EXPECT_EQ(game.lastMove(), -1);
  ASSERT_TRUE(game.goTo(2));
  EXPECT_EQ(game.lastMove(), game.history()[1].move);
  EXPECT_EQ(game.side(), game.history()[2].side);
}

// The frame of the last move follows its disc through the transforms.
TEST(Game, TheLastMoveFollowsTheBoardTransforms) {
  Game game;
  playFirstMoves(game, 1);
  const int played = game.lastMove();
  game.transformBoard(boardRotate);
  EXPECT_NE(game.lastMove(), played);
  EXPECT_EQ(game.board()[game.lastMove()], game.history()[1].board[played]);
  for (int turn = 0; turn < 3; ++turn) game.transformBoard(boardRotate);
  EXPECT_EQ(game.lastMove(), played);
  EXPECT_EQ(game.board(), game.history()[1].board);
  EXPECT_EQ(game.history().size(), 2u);
}

// A board changed by hand is unsaved work; saved, it takes the place of the
// history position it was made from and the later moves go.
TEST(Game, AnEditedBoardIsSavedInPlaceOfItsPosition) {
  Game game;
  playFirstMoves(game, 3);
  game.saved(game.historyToSave(), "game.txt");
  ASSERT_FALSE(game.hasUnsavedGame());
  ASSERT_TRUE(game.goTo(1));
  game.toggleSquare(0, kWhite);
  EXPECT_EQ(game.board()[0], kWhite);
  EXPECT_TRUE(game.hasUnsavedGame());
  const History record = game.historyToSave();
  ASSERT_EQ(record.size(), 2u);
  EXPECT_EQ(record.back().board, game.board());
  EXPECT_EQ(record.back().move, -1);
  game.saved(record, "edited.txt");
  EXPECT_FALSE(game.hasUnsavedGame());
  EXPECT_EQ(game.recordPath(), "edited.txt");
  game.toggleSquare(0, kWhite);
  EXPECT_EQ(game.board()[0], kEmpty);
}

// A pass at the end of the history gives the entry to the colour that
// moves, so it is no change to save; earlier in the history it changes none.
TEST(Game, APassAtTheEndMovesTheEntryToTheColourThatMoves) {
  Game game;
  game.takeRecord(History{HistoryEntry{kBlack, -1, blackMustPassBoard()}}, "game.txt");
  ASSERT_TRUE(game.goTo(0));
  game.pass();
  EXPECT_EQ(game.side(), kWhite);
  EXPECT_EQ(game.history()[0].side, kWhite);
  EXPECT_FALSE(game.hasUnsavedGame());
}

// "待った" three times and "やり直し" twice come back the way they went; a
// move then cuts the rest, and nothing is left to redo.
TEST(Game, RedoRetracesTheTakeBacksUntilAMoveCutsThem) {
  Game game;
  playFirstMoves(game, 5);
  EXPECT_EQ(game.redoTarget(), -1) << "nothing taken back yet";
  for (const int to : {4, 2, 1}) ASSERT_TRUE(game.takeBackTo(to));
  EXPECT_FALSE(game.takeBackTo(3)) << "a take-back goes back, never forward";
  ASSERT_TRUE(game.redo());
  EXPECT_EQ(game.cursor(), 2);
  ASSERT_TRUE(game.redo());
  EXPECT_EQ(game.cursor(), 4);
  EXPECT_EQ(game.board(), game.history()[4].board);
  EXPECT_EQ(game.side(), game.history()[4].side);
  EXPECT_EQ(game.lastMove(), game.history()[3].move);
  EXPECT_EQ(game.redoTarget(), 5) << "the first take-back is still there";
  ASSERT_TRUE(game.playMove(legalSquares(game.board(), game.side()).back()));
  EXPECT_EQ(game.redoTarget(), -1);
  EXPECT_FALSE(game.redo());
  EXPECT_EQ(game.cursor(), 5);
}

// Stepping past the position a take-back left, or a new game, leaves
// nothing to redo.
TEST(Game, RedoOnlyGoesForwardWithinTheHistory) {
  Game game;
  playFirstMoves(game, 3);
  ASSERT_TRUE(game.takeBackTo(1));
  ASSERT_TRUE(game.goTo(3));
  EXPECT_EQ(game.redoTarget(), -1);
  ASSERT_TRUE(game.goTo(0));
  EXPECT_EQ(game.redoTarget(), 3);
  game.newGame();
  EXPECT_EQ(game.redoTarget(), -1);
}

}  // namespace
}  // namespace kaimo
