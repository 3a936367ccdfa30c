#include "app/controller/game_controller.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "app/controller/game_texts.h"
#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "support/kr/kr_error.h"
#include "tests/app/controller/controller_fixture.h"

namespace kaimo {
namespace {

using testing::blackMustPassBoard;
using testing::initialBoard;
using testing::kComputer;
using testing::kFox;
using testing::kHuman;
using testing::legalSquares;
using testing::nearlyFullBoard;
using testing::patternOpening;
using testing::quickSettings;
using testing::readProgressText;
using testing::setPosition;
using testing::tickUntil;

// "%+.2lf", such as +0.50.
bool isEvaluationText(const std::string& text) {
  double value;
  char sign;
  int consumed = 0;
  if (std::sscanf(text.c_str(), "%c%lf%n", &sign, &value, &consumed) != 2 || (sign != '+' && sign != '-')) return false;
  // Two decimals, then the unit: discs, or the simple evaluation's points.
  const std::string unit = text.substr(consumed);
  return consumed >= 5 && text[consumed - 3] == '.' && (unit == "石" || unit == "点");
}

bool isProgressText(const std::string& text) {
  const auto numbers = readProgressText(text);
  return numbers && numbers->wholeText;
}

// Black 60 discs, white 40, no empty square.
Board finishedBoard() {
  Board b;
  for (int s = 0; s < kSquareCount; ++s) b[s] = s < 60 ? kBlack : kWhite;
  return b;
}

class Controller : public testing::ControllerFixture<> {
 protected:
  std::size_t historySize() { return c().game().history().size(); }
};

TEST_F(Controller, StartsIdleOnTheInitialPosition) {
  make(quickSettings(kHuman, kComputer));
  const Board initial = initialBoard();
  EXPECT_EQ(c().mode(), ViewMode::Idle);
  EXPECT_EQ(c().game().board(), initial);
  EXPECT_EQ(c().game().side(), kBlack);
  ASSERT_EQ(historySize(), 1u);
  EXPECT_EQ(c().game().history()[0].board, initial);
  EXPECT_EQ(c().game().lastMove(), -1);
  for (int v : c().study().squareValues()) EXPECT_EQ(v, SCORE_NONE);
  // Nothing moves before the start command.
  c().onTimer();
  EXPECT_EQ(c().mode(), ViewMode::Idle);
}

TEST_F(Controller, HumanAgainstComputer) {
  make(quickSettings(kHuman, kComputer));
  startAndTick();
  ASSERT_EQ(c().mode(), ViewMode::Playing);
  EXPECT_TRUE(c().isHumanToMove());
  EXPECT_TRUE(window.paneLog[kWhitePane].empty());
  EXPECT_FALSE(window.paneShowed(kBlackPane, texts::kThinking.japanese));
  const std::vector<int> moves = legalSquares(c().game().board(), kBlack);
  MoveMarks marks = c().highlightMarks();
  for (int s : moves) EXPECT_EQ(marks[s], 1);

  clickAndTick(moves.front());
  EXPECT_EQ(c().game().history()[0].move, moves.front());
  EXPECT_TRUE(window.paneShowed(kWhitePane, texts::kThinking.japanese));
  EXPECT_EQ(c().highlightMarks(), MoveMarks{}) << "no highlight while the computer thinks";

  ASSERT_TRUE(tickUntil(c(), [&] { return historySize() == 3; }));
  EXPECT_EQ(c().game().side(), kBlack);
  EXPECT_EQ(c().mode(), ViewMode::Playing);
  EXPECT_TRUE(window.paneShowed(kWhitePane, texts::kNormalRead.japanese));
  EXPECT_TRUE(isEvaluationText(window.panes[kWhitePane])) << window.panes[kWhitePane];
  bool progressShown = false;
  for (const auto& text : window.paneLog[kProgressPane]) progressShown |= isProgressText(text);
  EXPECT_TRUE(progressShown);
  EXPECT_EQ(c().game().lastMove(), c().game().history()[1].move);
  EXPECT_TRUE(window.messages.empty());
}

TEST_F(Controller, ComputerAgainstItselfPlaysToTheEnd) {
  make(quickSettings(kComputer, kComputer, 1, 4));
  c().start();
  ASSERT_TRUE(tickUntil(c(), [&] { return c().mode() == ViewMode::Idle; }));

  const History& h = c().game().history();
  ASSERT_GE(h.size(), 40u);
  EXPECT_EQ(c().game().cursor(), static_cast<int>(h.size()) - 1);
  for (std::size_t i = 0; i + 1 < h.size(); ++i) {
    Board next;
    ASSERT_GT(boardPlay(h[i].board, next, h[i].move, h[i].side), 1) << "entry " << i;
    EXPECT_EQ(next, h[i + 1].board) << "entry " << i;
    // The opponent moves next unless it had to pass.
    const int expectedSide = boardMobility(next, opponentOf(h[i].side)) ? opponentOf(h[i].side) : h[i].side;
    if (i + 2 < h.size()) {
      EXPECT_EQ(h[i + 1].side, expectedSide) << "entry " << i + 1;
    }
  }
  const Board& last = c().game().board();
  EXPECT_EQ(boardMobility(last, kBlack), 0);
  EXPECT_EQ(boardMobility(last, kWhite), 0);
  DiscCounts counts;
  boardCount(last, counts);
  ASSERT_FALSE(window.messages.empty());
  EXPECT_EQ(window.messages.back(), texts::gameOverText(counts[0], counts[1]).japanese);
  EXPECT_EQ(window.panes[kProgressPane], texts::kGameOver.japanese);
  EXPECT_EQ(window.panes[kBlackPane], texts::blackCountText(counts[0]).japanese);
  EXPECT_EQ(window.panes[kWhitePane], texts::whiteCountText(counts[1]).japanese);
}

TEST_F(Controller, FinishedPositionEndsAtOnce) {
  make(quickSettings(kHuman, kComputer));
  setPosition(c(), finishedBoard(), kBlack);
  startAndTick();
  EXPECT_EQ(c().mode(), ViewMode::Idle);
  EXPECT_EQ(window.panes[kProgressPane], "終了");
  EXPECT_EQ(window.panes[kBlackPane], "黒60石");
  EXPECT_EQ(window.panes[kWhitePane], "白40石");
  EXPECT_EQ(window.messages, std::vector<std::string>{"終了 黒60石 白40石"});
  EXPECT_EQ(historySize(), 1u);
  // The settings dialog and the record commands stop the game first; with
  // nothing running, the final count stays.
  c().stopThinking();
  EXPECT_EQ(window.panes[kProgressPane], "終了");
  EXPECT_EQ(window.panes[kBlackPane], "黒60石");
}

TEST_F(Controller, PassIsAnnouncedAndNotRecorded) {
  make(quickSettings(kHuman, kHuman));
  setPosition(c(), blackMustPassBoard(), kBlack);
  startAndTick();
  EXPECT_EQ(window.messages, std::vector<std::string>{"黒はパスです。"});
  EXPECT_EQ(window.panes[kBlackPane], "黒はパスです。");
  EXPECT_EQ(c().game().side(), kWhite);
  EXPECT_EQ(c().mode(), ViewMode::Playing);
  EXPECT_EQ(historySize(), 1u);

  clickAndTick(squareAt(0, 2));
  ASSERT_EQ(historySize(), 2u);
  EXPECT_EQ(c().game().history()[0].side, kWhite) << "the entry names the side that played from it";
  EXPECT_EQ(c().game().history()[0].move, squareAt(0, 2));
  EXPECT_EQ(window.messages.back(), "終了 黒0石 白3石");
  // What the window marks with sounds; a step through the game is no move.
  c().goBack();
  c().goForward();
  EXPECT_EQ(window.events, (std::vector<GameEvent>{GameEvent::Pass, GameEvent::Move, GameEvent::GameOver}));
}

TEST_F(Controller, APassIsNoLongerShownOnceThePasserIsToMoveAgain) {
  make(quickSettings(kHuman, kHuman));
  // Black (b2, c3) cannot move; white's only move b3 gives black a3.
  Board b;
  b.fill(kEmpty);
  b[squareAt(1, 0)] = kWhite;
  b[squareAt(1, 1)] = kBlack;
  b[squareAt(2, 2)] = kBlack;
  setPosition(c(), b, kBlack);
  startAndTick();
  ASSERT_EQ(window.panes[kBlackPane], "黒はパスです。");
  clickAndTick(squareAt(1, 2));
  ASSERT_EQ(c().game().side(), kBlack);
  EXPECT_EQ(window.panes[kBlackPane], "");
}

TEST_F(Controller, TicksWhileAMessageIsOpenAreDropped) {
  make(quickSettings(kHuman, kHuman));
  setPosition(c(), blackMustPassBoard(), kBlack);
  int ticks = 0;
  window.whileMessageIsOpen = [&] {
    ++ticks;
    c().onTimer();  // would run the turn step again and pass a second time
  };
  startAndTick();
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(window.messages, std::vector<std::string>{"黒はパスです。"});
  EXPECT_EQ(c().game().side(), kWhite);
}

TEST_F(Controller, WhitePassesToo) {
  make(quickSettings(kHuman, kHuman));
  Board b = blackMustPassBoard();
  b[0] = kBlack;
  b[1] = kWhite;
  setPosition(c(), b, kWhite);
  startAndTick();
  EXPECT_EQ(window.messages, std::vector<std::string>{"白はパスです。"});
  EXPECT_EQ(window.panes[kWhitePane], "白はパスです。");
  EXPECT_EQ(c().game().side(), kBlack);
}

TEST_F(Controller, PauseDuringASearchLeavesTheBoardAndStartContinues) {
  // A normal read far too deep to finish on its own.
  make(quickSettings(kHuman, kComputer, 30, 0));
  startAndTick();
  clickAndTick(legalSquares(c().game().board(), kBlack).front());
  ASSERT_TRUE(tickUntil(c(), [&] { return window.paneShowed(kWhitePane, texts::kNormalRead.japanese); }));
  const Board before = c().game().board();

  c().pause();
  EXPECT_EQ(c().mode(), ViewMode::Idle);
  EXPECT_EQ(window.panes[kProgressPane], "停止");
  EXPECT_EQ(window.panes[kWhitePane], "");
  EXPECT_EQ(c().game().board(), before);
  EXPECT_EQ(c().game().side(), kWhite);
  EXPECT_EQ(historySize(), 2u);
  c().onTimer();
  EXPECT_EQ(c().game().board(), before) << "a stopped search plays nothing";

  settings.white.normalDepth = 2;
  ASSERT_TRUE(c().canStart());
  startAndTick();
  ASSERT_TRUE(tickUntil(c(), [&] { return historySize() == 3; }));
  EXPECT_EQ(c().game().history()[1].side, kWhite);
  EXPECT_TRUE(window.messages.empty());
}

// A search far too deep to finish: the controller goes at once, and its
// worker with it (a worker left running would hang the test or, under
// ThreadSanitizer, be reported touching freed memory).
TEST_F(Controller, DestroyingTheControllerStopsItsWorker) {
  make(quickSettings(kComputer, kComputer, 30, 0));
  startAndTick();
  ASSERT_TRUE(tickUntil(c(), [&] { return window.paneShowed(kBlackPane, texts::kNormalRead.japanese); }));
  controller.reset();
  EXPECT_EQ(window.foreignCalls, 0);
}

// "待った" by who plays: against the computer back to the human's turn
// before and on with the game (also once the game is over); between two
// humans one move back and on; between two computers one move back, stopped.
TEST_F(Controller, TakeBackDependsOnWhoPlays) {
  struct Case {
    int black, white;
    std::size_t moves;  // played before the take-back
    int cursor;         // where it leads
    ViewMode mode;
  };
  for (const Case& tc :
       {Case{kHuman, kComputer, 4, 2, ViewMode::Playing}, Case{kComputer, kHuman, 3, 1, ViewMode::Playing},
        Case{kHuman, kHuman, 3, 2, ViewMode::Playing}, Case{kComputer, kComputer, 3, 2, ViewMode::Idle}}) {
    make(quickSettings(tc.black, tc.white, 1, 4));
    startAndTick();
    ASSERT_TRUE(tickUntil(c(), [&] {
      if (c().isHumanToMove() && c().mode() == ViewMode::Playing && historySize() <= tc.moves) {
        c().clickSquare(legalSquares(c().game().board(), c().game().side()).front());
      }
      return historySize() == tc.moves + 1;
    }));
    ASSERT_TRUE(c().canTakeBack());
    c().takeBack();
    EXPECT_EQ(c().game().cursor(), tc.cursor) << tc.black << tc.white;
    EXPECT_EQ(c().mode(), tc.mode) << tc.black << tc.white;
    EXPECT_EQ(c().game().history().size(), tc.moves + 1) << "the moves taken back stay until another is played";
  }
  // A game lost at its last move: back to the human's last turn.
  make(quickSettings(kHuman, kComputer, 1, 4));
  setPosition(c(), nearlyFullBoard(), kBlack);
  startAndTick();
  ASSERT_TRUE(tickUntil(c(), [&] {
    if (c().isHumanToMove() && c().mode() == ViewMode::Playing)
      c().clickSquare(legalSquares(c().game().board(), kBlack).front());
    return c().mode() == ViewMode::Idle;
  }));
  ASSERT_EQ(window.panes[kWhitePane].rfind("白", 0), 0u) << "the final count";
  ASSERT_FALSE(c().gameSummary().empty());
  c().takeBack();
  EXPECT_EQ(c().mode(), ViewMode::Playing);
  EXPECT_TRUE(c().isHumanToMove());
  EXPECT_EQ(c().game().history()[c().game().cursor()].side, kBlack);
  // The count and the summary were said of the finished game, which goes on.
  EXPECT_EQ(window.panes[kBlackPane], "");
  EXPECT_EQ(window.panes[kWhitePane], "");
  EXPECT_TRUE(c().gameSummary().empty());
}

// Against the computer: "待った" twice, then "やり直し" once, comes back to
// the human's turn it left, the game going on; a click then cuts the rest.
TEST_F(Controller, RedoReplaysTakenBackMovesUntilAClick) {
  make(quickSettings(kHuman, kComputer, 1, 4));
  startAndTick();
  ASSERT_TRUE(tickUntil(c(), [&] {
    if (c().isHumanToMove() && c().mode() == ViewMode::Playing && historySize() <= 4)
      c().clickSquare(legalSquares(c().game().board(), c().game().side()).front());
    return historySize() == 5 && c().isHumanToMove();
  }));
  EXPECT_FALSE(c().canRedo());
  c().takeBack();
  c().takeBack();
  ASSERT_EQ(c().game().cursor(), 0);
  ASSERT_TRUE(c().canRedo());
  c().redo();
  EXPECT_EQ(c().game().cursor(), 2);
  EXPECT_EQ(c().mode(), ViewMode::Playing);
  EXPECT_TRUE(c().isHumanToMove());
  EXPECT_EQ(c().game().board(), c().game().history()[2].board);
  ASSERT_TRUE(c().canRedo());
  clickAndTick(legalSquares(c().game().board(), kBlack).back());
  EXPECT_FALSE(c().canRedo());
  EXPECT_LE(historySize(), 4u) << "the moves taken back are gone";
}

// "黒白交代" on the human's turn: the computer now has that side and moves
// at once; while it thinks: its search stops and the human moves; idle:
// only the players change.
TEST_F(Controller, SwappingSidesHandsTheTurnToTheNewPlayer) {
  make(quickSettings(kHuman, kComputer, 1, 4));
  startAndTick();
  ASSERT_TRUE(c().isHumanToMove());
  c().swapSides();
  EXPECT_EQ(c().routineOf(kBlack), kComputer);
  EXPECT_EQ(c().routineOf(kWhite), kHuman);
  ASSERT_TRUE(tickUntil(c(), [&] { return historySize() == 2; })) << "black's computer moves without a click";
  EXPECT_TRUE(c().isHumanToMove());
  EXPECT_EQ(c().mode(), ViewMode::Playing);

  make(quickSettings(kComputer, kHuman, 30, 0));
  startAndTick();
  ASSERT_TRUE(tickUntil(c(), [&] { return window.paneShowed(kBlackPane, texts::kNormalRead.japanese); }));
  c().swapSides();
  EXPECT_TRUE(c().isHumanToMove());
  EXPECT_EQ(c().mode(), ViewMode::Playing);
  for (int tick = 0; tick < 5; ++tick) c().onTimer();
  EXPECT_EQ(historySize(), 1u) << "the stopped search plays nothing";
  clickAndTick(legalSquares(c().game().board(), kBlack).front());
  EXPECT_EQ(historySize(), 2u);

  make(quickSettings(kHuman, kFox));
  c().swapSides();
  EXPECT_EQ(c().mode(), ViewMode::Idle);
  EXPECT_EQ(settings.black.routine, kFox);
  EXPECT_EQ(settings.white.routine, kHuman);
}

TEST_F(Controller, PlayingFromAnEarlierPositionCutsTheHistory) {
  make(quickSettings(kHuman, kHuman));
  startAndTick();
  for (int i = 0; i < 3; ++i) clickAndTick(legalSquares(c().game().board(), c().game().side()).front());
  ASSERT_EQ(historySize(), 4u);

  c().goToPosition(1);
  EXPECT_EQ(c().game().cursor(), 1);
  EXPECT_EQ(c().game().board(), c().game().history()[1].board);
  EXPECT_EQ(c().game().side(), c().game().history()[1].side);
  EXPECT_EQ(historySize(), 4u) << "going back keeps the later entries";

  startAndTick();
  const int oldMove = c().game().history()[1].move;
  const std::vector<int> moves = legalSquares(c().game().board(), c().game().side());
  const int other = moves.front() == oldMove ? moves.back() : moves.front();
  ASSERT_NE(other, oldMove);
  const Board from = c().game().board();
  clickAndTick(other);
  ASSERT_EQ(historySize(), 3u);
  EXPECT_EQ(c().game().cursor(), 2);
  EXPECT_EQ(c().game().history()[1].move, other);
  EXPECT_EQ(c().game().history()[1].board, from);
  EXPECT_EQ(c().game().history()[2].board, c().game().board());
}

TEST_F(Controller, GoToPositionIgnoresIndicesOutsideTheHistory) {
  make(quickSettings(kHuman, kHuman));
  startAndTick();
  c().goToPosition(1);
  c().goToPosition(-1);
  EXPECT_EQ(c().mode(), ViewMode::Playing) << "an ignored index does not stop the game";
  EXPECT_EQ(c().game().cursor(), 0);
}

TEST_F(Controller, OfTwoClicksBeforeATickTheSecondIsPlayed) {
  make(quickSettings(kHuman, kHuman));
  startAndTick();
  const std::vector<int> moves = legalSquares(c().game().board(), kBlack);
  ASSERT_GE(moves.size(), 2u);
  c().clickSquare(moves[0]);
  c().clickSquare(moves[1]);
  c().onTimer();
  ASSERT_EQ(historySize(), 2u);
  EXPECT_EQ(c().game().history()[0].move, moves[1]);
  EXPECT_EQ(c().game().side(), kWhite);
}

TEST_F(Controller, IllegalClickIsRefusedInPaneZero) {
  make(quickSettings(kHuman, kHuman));
  startAndTick();
  const Board initial = initialBoard();
  int occupied = -1;
  for (int s = 0; s < kSquareCount && occupied < 0; ++s) {
    if (initial[s] != kEmpty) occupied = s;
  }
  for (int square : {occupied, 0}) {
    window.panes[kProgressPane].clear();
    clickAndTick(square);
    EXPECT_EQ(window.panes[kProgressPane], "そこには打てません。");
    EXPECT_EQ(historySize(), 1u);
    EXPECT_EQ(c().mode(), ViewMode::Playing);
  }
}

TEST_F(Controller, ClicksAreIgnoredWhenIdleOrWhileTheComputerMoves) {
  make(quickSettings(kHuman, kComputer));
  const int move = legalSquares(c().game().board(), kBlack).front();
  clickAndTick(move);
  EXPECT_EQ(historySize(), 1u);
  EXPECT_EQ(window.panes[kProgressPane], texts::kStartFirst.japanese) << "idle: the click is answered with a hint";

  startAndTick();
  clickAndTick(move);
  ASSERT_EQ(c().game().side(), kWhite);
  const int whiteMove = legalSquares(c().game().board(), kWhite).back();
  c().clickSquare(whiteMove);
  EXPECT_NE(window.panes[kProgressPane], "そこには打てません。");
  ASSERT_TRUE(tickUntil(c(), [&] { return historySize() == 3; }));
  EXPECT_EQ(c().game().history()[1].side, kWhite);
}

TEST_F(Controller, StartIsOfferedOnlyWhenIdle) {
  make(quickSettings(kHuman, kHuman));
  EXPECT_TRUE(c().canStart());
  c().start();
  EXPECT_EQ(c().mode(), ViewMode::NextTurn);
  EXPECT_FALSE(c().canStart());
  c().onTimer();
  EXPECT_FALSE(c().canStart());
  c().start();
  EXPECT_EQ(c().mode(), ViewMode::Playing) << "a start while playing is ignored";
  c().pause();
  EXPECT_TRUE(c().canStart());
}

// The rules that enable the window's commands, in each mode: two humans,
// the cursor in the middle of a three-entry history whose middle position
// takes the endgame analysis far longer than the test.
TEST_F(Controller, EnableRulesHoldInEachMode) {
  struct Rule {
    const char* name;
    bool (GameController::*holds)() const;
    const char* modes;  // Idle, NextTurn, Playing, Busy, Editing
  };
  const Rule rules[] = {
      {"hasHistory", &GameController::hasHistory, "11111"},     {"canStart", &GameController::canStart, "10001"},
      {"isNotBusy", &GameController::isNotBusy, "11101"},       {"canGoBack", &GameController::canGoBack, "11101"},
      {"canGoForward", &GameController::canGoForward, "11101"}, {"canTakeBack", &GameController::canTakeBack, "11100"},
      {"canHint", &GameController::canHint, "10101"},
  };
  make(quickSettings(kHuman, kHuman));
  Board slow;
  slow.fill(kEmpty);
  for (int s = 0; s < 61; ++s) slow[s] = static_cast<std::int8_t>((s / 3 + s % 2) % 2);
  constexpr std::array<ViewMode, 5> kModes = {ViewMode::Idle, ViewMode::NextTurn, ViewMode::Playing, ViewMode::Busy,
                                              ViewMode::Editing};
  for (int mode = 0; mode < 5; ++mode) {
    c().clearHistory();
    c().appendHistory(HistoryEntry{kBlack, squareAt(0, 0), initialBoard()});
    c().appendHistory(HistoryEntry{kBlack, squareAt(0, 0), slow});
    c().appendHistory(HistoryEntry{kBlack, -1, initialBoard()});
    c().goToPosition(1);
    if (mode == 1 || mode == 2) c().start();
    if (mode == 2) c().onTimer();
    if (mode == 3) c().startAnalysis();
    if (mode == 4) c().toggleEditing();
    ASSERT_EQ(c().mode(), kModes[mode]);
    for (const Rule& rule : rules)
      EXPECT_EQ((c().*rule.holds)(), rule.modes[mode] == '1') << rule.name << " in mode " << mode;
    c().pause();
  }
}

TEST_F(Controller, AnExactReadIsAnnouncedAsSuch) {
  // Six empty squares, within white's exact-read depth.
  make(quickSettings(kHuman, kComputer, 2, 13));
  setPosition(c(), nearlyFullBoard(), kWhite);
  startAndTick();
  ASSERT_TRUE(tickUntil(c(), [&] { return historySize() == 2; }));
  EXPECT_TRUE(window.paneShowed(kWhitePane, texts::kExactRead.japanese));
  EXPECT_FALSE(window.paneShowed(kWhitePane, texts::kNormalRead.japanese));
}

// "狐" without its data (the tests run where there are none) fails at its
// first evaluation of a position of 84 empty squares or fewer.
TEST_F(Controller, AFailedEvaluationIsShownByTheWindowThread) {
  ASSERT_TRUE(routineEvaluator(kFox).failed()) << "runs where the data of 狐 are not";
  make(quickSettings(kHuman, kFox, 2, 0));
  setPosition(c(), patternOpening(), kWhite);
  const Board before = c().game().board();
  startAndTick();
  ASSERT_TRUE(tickUntil(c(), [&] { return c().mode() == ViewMode::Idle; }));
  EXPECT_EQ(window.messages, std::vector<std::string>{texts::kEvalError.japanese});
  EXPECT_EQ(window.panes[kProgressPane], "停止");
  EXPECT_EQ(c().game().board(), before);
  c().pause();
  EXPECT_EQ(window.messages.size(), 1u) << "the failure is told once";

  // With the logs in another folder, the message adds the log's full path.
  kr_setLogFolder("/state/kaimo");
  startAndTick();
  ASSERT_TRUE(tickUntil(c(), [&] { return c().mode() == ViewMode::Idle; }));
  kr_setLogFolder("");
  EXPECT_EQ(window.messages.back(), std::string(texts::kEvalError.japanese) + "\n/state/kaimo/errorlog.txt");
}

TEST_F(Controller, RoutinesOutsideTheTableCountAsHumans) {
  PlayerSettings s = quickSettings(kHuman, kHuman);
  s.black.routine = 999;
  s.white.routine = -4;
  make(s);
  EXPECT_EQ(c().routineOf(kBlack), kHuman);
  EXPECT_EQ(c().routineOf(kWhite), kHuman);
}

}  // namespace
}  // namespace kaimo
