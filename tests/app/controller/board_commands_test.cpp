// Navigation, clearing, the two board transforms and editing with the mouse,
// driven through the controller with a recording window.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/controller/game_controller.h"
#include "app/controller/game_texts.h"
#include "app/controller/move_list.h"
#include "app/settings/settings_words.h"
#include "engine/eval/score.h"
#include "tests/app/controller/controller_fixture.h"

namespace kaimo {
namespace {

using testing::blackMustPassBoard;
using testing::firstLegalSquare;
using testing::initialBoard;
using testing::kComputer;
using testing::kHuman;
using testing::quickSettings;
using testing::setPosition;
using testing::tickUntil;

// Each square a different mixture, so a wrong transform cannot look right.
Board asymmetricBoard() {
  Board b;
  for (int s = 0; s < kSquareCount; ++s) b[s] = static_cast<std::int8_t>((s * 7 + s / 10) % 4);
  return b;
}

class BoardCommands : public testing::ControllerFixture<> {
 protected:
  // Two humans play `moves` legal moves from the start (the first legal square each time).
  void playHumanMoves(int moves) {
    startAndTick();
    for (int i = 0; i < moves; ++i) clickAndTick(firstLegalSquare(c().game().board(), c().game().side()));
  }
  void enterEditing() {
    c().toggleEditing();
    ASSERT_EQ(c().mode(), ViewMode::Editing);
  }
  // Clicks, one at a time, until the board is `target`: the left button
  // makes black or empties black, the right one makes white or empties white.
  void editTo(const Board& target) {
    for (int s = 0; s < kSquareCount; ++s) {
      if (c().game().board()[s] == target[s]) continue;
      c().endEditStroke();
      const bool left = target[s] == kBlack || (target[s] == kEmpty && c().game().board()[s] == kBlack);
      if (left) {
        c().leftEdit(s);
      } else {
        c().rightEdit(s);
      }
    }
  }
};

TEST_F(BoardCommands, BackTwiceShowsTheStartAndForwardGoesOnAgain) {
  make(quickSettings(kHuman, kHuman));
  playHumanMoves(2);
  ASSERT_EQ(c().game().history().size(), 3u);
  const History history = c().game().history();

  c().goBack();
  EXPECT_EQ(c().mode(), ViewMode::Idle) << "navigation stops the game";
  EXPECT_EQ(window.panes[kProgressPane], "停止");
  c().goBack();
  EXPECT_EQ(c().game().cursor(), 0);
  EXPECT_EQ(c().game().board(), initialBoard());
  EXPECT_EQ(c().game().side(), kBlack);
  EXPECT_FALSE(c().canGoBack());
  EXPECT_TRUE(c().canGoForward());

  c().goBack();  // nothing before the first entry
  EXPECT_EQ(c().game().cursor(), 0);
  c().goToLast();
  EXPECT_EQ(c().game().cursor(), 2);
  EXPECT_EQ(c().game().board(), history[2].board);
  EXPECT_EQ(c().game().side(), history[2].side);
  EXPECT_FALSE(c().canGoForward());
  c().goForward();
  EXPECT_EQ(c().game().cursor(), 2);
  c().goToFirst();
  c().goForward();
  EXPECT_EQ(c().game().cursor(), 1);
  EXPECT_EQ(c().game().board(), history[1].board);
  EXPECT_EQ(c().game().history(), history) << "stepping through leaves the history alone";
}

TEST_F(BoardCommands, NavigatingWhileTheComputerThinksStopsTheSearch) {
  // Deep enough that the search is still running when the step comes.
  make(quickSettings(kHuman, kComputer, 30, 0));
  playHumanMoves(1);
  ASSERT_TRUE(tickUntil(c(), [&] { return window.paneShowed(kWhitePane, texts::kNormalRead.japanese); }));
  c().goBack();
  EXPECT_EQ(c().mode(), ViewMode::Idle);
  EXPECT_EQ(window.panes[kProgressPane], "停止");
  EXPECT_EQ(c().game().cursor(), 0);
  EXPECT_EQ(c().game().board(), initialBoard());
  EXPECT_EQ(c().game().side(), kBlack);
  c().onTimer();
  EXPECT_EQ(c().game().history().size(), 2u) << "the stopped search plays nothing";
}

TEST_F(BoardCommands, NavigationIsRefusedWhileBusy) {
  make(quickSettings(kHuman, kHuman));
  playHumanMoves(2);
  c().goBack();
  ASSERT_TRUE(c().canGoBack() && c().canGoForward());
  // A slow analysis keeps the controller busy until it is paused.
  Board b;
  for (int s = 0; s < kSquareCount; ++s) b[s] = s < 61 ? static_cast<std::int8_t>((s / 3) % 2) : kEmpty;
  setPosition(c(), b, kBlack);
  c().startAnalysis();
  ASSERT_EQ(c().mode(), ViewMode::Busy);
  EXPECT_FALSE(c().canGoBack());
  EXPECT_FALSE(c().canGoForward());
  EXPECT_FALSE(c().canStart());
  c().pause();
  EXPECT_EQ(c().mode(), ViewMode::Idle);
}

TEST_F(BoardCommands, RotatingFourTimesAndMirroringTwiceGiveTheBoardBack) {
  make(quickSettings(kHuman, kHuman));
  playHumanMoves(2);
  c().goBack();
  const History history = c().game().history();
  const Board shown = c().game().board();
  for (int i = 0; i < 4; ++i) c().rotateBoard();
  EXPECT_EQ(c().game().board(), shown);
  c().mirrorBoard();
  c().mirrorBoard();
  EXPECT_EQ(c().game().board(), shown);
  EXPECT_EQ(c().game().history(), history);
  EXPECT_EQ(c().game().cursor(), 1);
  EXPECT_EQ(c().game().side(), history[1].side);
}

TEST_F(BoardCommands, RotationTurnsClockwiseAndMirroringSwapsColumnsAndRows) {
  make(quickSettings(kHuman, kHuman));
  const Board before = asymmetricBoard();
  setPosition(c(), before, kWhite);
  c().rotateBoard();
  // The top-left corner goes to the top-right: (column, row) lands on (9 - row, column).
  for (int column = 0; column < 10; ++column) {
    for (int row = 0; row < 10; ++row) {
      EXPECT_EQ(c().game().board()[squareAt(9 - row, column)], before[squareAt(column, row)]);
    }
  }
  setPosition(c(), before, kWhite);
  c().mirrorBoard();
  for (int column = 0; column < 10; ++column) {
    for (int row = 0; row < 10; ++row)
      EXPECT_EQ(c().game().board()[squareAt(row, column)], before[squareAt(column, row)]);
  }
  EXPECT_EQ(c().game().side(), kWhite);
}

TEST_F(BoardCommands, NextAfterATransformShowsTheHistoryPosition) {
  make(quickSettings(kHuman, kHuman));
  playHumanMoves(1);
  c().goBack();
  c().rotateBoard();
  EXPECT_NE(c().game().board(), initialBoard());
  c().goForward();
  EXPECT_EQ(c().game().board(), c().game().history()[1].board);
}

// Moves not saved: the question is whether to save them, and Cancel keeps
// everything; No clears without a second question. With nothing unsaved
// the question is whether to clear, and No keeps the position.
TEST_F(BoardCommands, ClearingAsksFirstAndNoKeepsEverything) {
  make(quickSettings(kHuman, kHuman));
  playHumanMoves(3);
  const History history = c().game().history();
  const Board board = c().game().board();
  window.answer = Answer::Cancel;
  c().clearBoard();
  ASSERT_EQ(window.questions.size(), 1u);
  EXPECT_EQ(window.questions[0], texts::kUnsavedGameQuestion.japanese);
  EXPECT_EQ(c().game().history(), history);
  EXPECT_EQ(c().game().board(), board);
  EXPECT_EQ(c().mode(), ViewMode::Idle) << "the running game was stopped all the same";

  window.answer = Answer::No;
  c().clearBoard();
  ASSERT_EQ(window.questions.size(), 2u);
  EXPECT_EQ(c().game().board(), initialBoard());
  EXPECT_EQ(c().game().side(), kBlack);
  ASSERT_EQ(c().game().history().size(), 1u);
  EXPECT_EQ(c().game().cursor(), 0);
  EXPECT_EQ(c().mode(), ViewMode::Idle) << "clearing does not start a game";

  c().rotateBoard();
  c().appendHistory(HistoryEntry{kBlack, -1, c().game().board()});
  c().goToPosition(1);
  window.answerYes = false;
  c().clearBoard();
  ASSERT_EQ(window.questions.size(), 3u);
  EXPECT_EQ(window.questions[2], "盤面をクリアしてゲーム開始時の状態に戻します。よろしいですか？");
  EXPECT_EQ(c().game().history().size(), 2u);
  window.answerYes = true;
  c().clearBoard();
  EXPECT_EQ(c().game().history().size(), 1u);
}

TEST_F(BoardCommands, EditingTogglesSquaresWithEitherButton) {
  make(quickSettings(kHuman, kHuman));
  enterEditing();
  EXPECT_EQ(window.panes[kProgressPane], "盤面編集");
  const int empty = squareAt(0, 0);
  c().leftEdit(empty);
  EXPECT_EQ(c().game().board()[empty], kBlack);
  c().leftEdit(empty);
  EXPECT_EQ(c().game().board()[empty], kBlack) << "holding still on a square changes it once";
  c().endEditStroke();
  c().leftEdit(empty);
  EXPECT_EQ(c().game().board()[empty], kEmpty) << "a second click empties a black square";

  const int white = squareAt(4, 4);
  ASSERT_EQ(c().game().board()[white], kWhite);
  c().endEditStroke();
  c().leftEdit(white);
  EXPECT_EQ(c().game().board()[white], kBlack);
  c().endEditStroke();
  c().rightEdit(white);
  EXPECT_EQ(c().game().board()[white], kWhite) << "right on black makes white";
  c().endEditStroke();
  c().rightEdit(white);
  EXPECT_EQ(c().game().board()[white], kEmpty) << "right on white empties";
  EXPECT_EQ(c().game().history().size(), 1u);
  EXPECT_EQ(c().game().history()[0].board, initialBoard()) << "editing changes only the board";
}

TEST_F(BoardCommands, AWallTurnsBlackOrWhiteUnderEditing) {
  make(quickSettings(kHuman, kHuman));
  Board b = initialBoard();
  b[0] = kWall;
  b[1] = kWall;
  setPosition(c(), b, kBlack);
  enterEditing();
  c().leftEdit(0);
  c().rightEdit(1);
  EXPECT_EQ(c().game().board()[0], kBlack);
  EXPECT_EQ(c().game().board()[1], kWhite);
}

TEST_F(BoardCommands, ADragTogglesEachSquareOnceAsThePointerEntersIt) {
  make(quickSettings(kHuman, kHuman));
  enterEditing();
  const int a = squareAt(0, 0), b = squareAt(1, 0), d = squareAt(2, 0);
  for (int target : {a, a, b, b, d}) c().leftEdit(target);
  EXPECT_EQ(c().game().board()[a], kBlack);
  EXPECT_EQ(c().game().board()[b], kBlack);
  EXPECT_EQ(c().game().board()[d], kBlack);
  c().leftEdit(b);  // back onto a square after leaving it
  EXPECT_EQ(c().game().board()[b], kEmpty);
  c().leftEdit(kEditNowhere);
  c().leftEdit(b);  // off the board and back again
  EXPECT_EQ(c().game().board()[b], kBlack);
  EXPECT_EQ(c().lastEditSquare(), b);
  c().endEditStroke();
  EXPECT_EQ(c().lastEditSquare(), kEditNowhere);

  for (int target : {a, kEditNowhere, a}) c().rightEdit(target);
  EXPECT_EQ(c().game().board()[a], kEmpty) << "black to white, then white to empty";
}

TEST_F(BoardCommands, IndicatorsChooseTheSideToMoveWithTheLeftButtonOnly) {
  make(quickSettings(kHuman, kHuman));
  enterEditing();
  c().rightEdit(kEditWhiteIndicator);
  EXPECT_EQ(c().game().side(), kBlack);
  c().leftEdit(kEditWhiteIndicator);
  EXPECT_EQ(c().game().side(), kWhite);
  c().leftEdit(kEditWhiteIndicator);
  EXPECT_EQ(c().game().side(), kWhite) << "the indicator sets, it does not toggle";
  c().leftEdit(kEditBlackIndicator);
  EXPECT_EQ(c().game().side(), kBlack);
}

TEST_F(BoardCommands, EditsOutsideEditingDoNothing) {
  make(quickSettings(kHuman, kHuman));
  c().leftEdit(0);
  c().rightEdit(1);
  c().leftEdit(kEditWhiteIndicator);
  EXPECT_EQ(c().game().board(), initialBoard());
  EXPECT_EQ(c().game().side(), kBlack);
}

TEST_F(BoardCommands, LeavingEditingShowsStoppedAndEditingAgainStopsAGame) {
  make(quickSettings(kHuman, kComputer, 30, 0));
  enterEditing();
  c().toggleEditing();
  EXPECT_EQ(c().mode(), ViewMode::Idle);
  EXPECT_EQ(window.panes[kProgressPane], "停止");
  EXPECT_EQ(c().highlightMarks(), MoveMarks{});

  setPosition(c(), initialBoard(), kWhite);
  startAndTick();
  ASSERT_TRUE(tickUntil(c(), [&] { return window.paneShowed(kWhitePane, texts::kNormalRead.japanese); }));
  enterEditing();
  MoveMarks all;
  all.fill(1);
  EXPECT_EQ(c().highlightMarks(), all);
  c().onTimer();
  EXPECT_EQ(c().game().history().size(), 1u) << "the stopped search played nothing";
}

TEST_F(BoardCommands, StartingFromAnEditedPositionPlaysFromIt) {
  make(quickSettings(kHuman, kHuman));
  enterEditing();
  // White a1 and black a2 alone: black has no move, white plays a3.
  const Board target = blackMustPassBoard();
  editTo(target);
  ASSERT_EQ(c().game().board(), target);
  ASSERT_TRUE(c().canStart());
  startAndTick();
  EXPECT_EQ(window.messages, std::vector<std::string>{"黒はパスです。"});
  EXPECT_EQ(c().game().side(), kWhite);
  clickAndTick(squareAt(0, 2));
  ASSERT_EQ(c().game().history().size(), 2u);
  EXPECT_EQ(c().game().history()[0].board, target) << "the edited board became the game's position";
  EXPECT_EQ(c().game().history()[0].side, kWhite);
}

TEST_F(BoardCommands, ConfirmedSettingsClearTheTwoReservedWords) {
  make(quickSettings(kHuman, kHuman));
  SettingsWords words = settingsToWords(settings);
  words[5] = 77;
  words[6] = -3;
  words[20] = 9;
  PlayerSettings edited = settingsFromWords(words);
  edited.black.routine = 2;
  c().applySettings(edited);
  EXPECT_EQ(settingsToWords(settings)[5], 0);
  EXPECT_EQ(settingsToWords(settings)[6], 0);
  EXPECT_EQ(settingsToWords(settings)[20], 9);
  EXPECT_EQ(settings.black.routine, 2);
  EXPECT_EQ(c().routineOf(kBlack), 2);
}

TEST_F(BoardCommands, ANormalDepthOfZeroStillPlaysAMove) {
  make(quickSettings(kHuman, kComputer, 0, 0));
  setPosition(c(), initialBoard(), kWhite);
  c().start();
  ASSERT_TRUE(tickUntil(c(), [&] { return c().game().history().size() == 2 || c().mode() == ViewMode::Idle; }));
  ASSERT_EQ(c().game().history().size(), 2u) << "the computer must not give up without a move";
  Board scratch;
  EXPECT_GT(boardPlay(initialBoard(), scratch, c().game().history()[0].move, kWhite), 1);
  EXPECT_EQ(c().mode(), ViewMode::Playing);
}

}  // namespace
}  // namespace kaimo

namespace kaimo {
namespace {

std::vector<MoveRowKind> rowKinds(const History& history) {
  std::vector<MoveRowKind> kinds;
  for (const MoveListRow& row : moveListRows(history)) kinds.push_back(row.kind);
  return kinds;
}

// Black plays, the side to move is set back to black by hand, black plays
// again: the list marks the edit, where it used to show a pass of white's
// that never happened.
TEST_F(BoardCommands, TheMoveListMarksAnEditNotAPass) {
  make(quickSettings(kHuman, kHuman));
  playHumanMoves(1);
  enterEditing();
  c().leftEdit(kEditBlackIndicator);
  startAndTick();
  clickAndTick(firstLegalSquare(c().game().board(), kBlack));
  ASSERT_EQ(c().game().history().size(), 3u);
  using K = MoveRowKind;
  EXPECT_EQ(rowKinds(c().game().history()), (std::vector<K>{K::Start, K::Move, K::Edit, K::Move}));
}

// Both sides human, black has no move: after the pass message nothing is
// left to save, and the game saved afterwards needs no side token.
TEST_F(BoardCommands, APassAloneIsNoUnsavedWork) {
  make(quickSettings(kHuman, kHuman));
  setPosition(c(), blackMustPassBoard(), kBlack);
  ASSERT_FALSE(c().game().hasUnsavedGame());
  startAndTick();
  ASSERT_EQ(window.messages, std::vector<std::string>{"黒はパスです。"});
  EXPECT_EQ(c().game().side(), kWhite);
  EXPECT_FALSE(c().game().hasUnsavedGame());
}

}  // namespace
}  // namespace kaimo
