// The study commands through the controller: the evaluation values, and the
// endgame analysis on its worker with its refusal, its values and its stop.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/controller/evaluation_values.h"
#include "app/controller/game_controller.h"
#include "app/controller/game_texts.h"
#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "engine/search/endgame_analysis.h"
#include "tests/app/controller/controller_fixture.h"
#include "tests/common/plain_board.h"

namespace kaimo {
namespace {

using testing::emptyCount;
using testing::initialBoard;
using testing::kHuman;
using testing::quickSettings;
using testing::setPosition;
using testing::tickUntil;

// Squares 0..60 black but a white disc on f6 with black beyond it in three
// directions: 39 empty squares, and each of black's three moves takes the
// only white disc, which ends the game at once.
Board wipeOutIn39Empties() {
  Board b;
  b.fill(kEmpty);
  for (int s = 0; s <= 60; ++s) b[s] = kBlack;
  b[squareAt(5, 5)] = kWhite;
  return b;
}

// A position with `empties` empty squares in which both sides can still
// move: squares filled in index order with a pattern of both colours.
Board patternWithEmpties(int empties) {
  Board b;
  b.fill(kEmpty);
  for (int s = 0; s < kSquareCount - empties; ++s) b[s] = static_cast<std::int8_t>((s / 3 + s % 2) % 2);
  return b;
}

// The exact value of the position for `side` by plain negamax to the end:
// scoreFinal of the mover's discs against the opponent's.
int exactValue(const Board& b, int side) {
  Board child;
  int best = -SCORE_INF;
  bool moved = false;
  for (int s = 0; s < kSquareCount; ++s) {
    if (plain::play(b, child, s, side) <= 1) continue;
    moved = true;
    best = std::max(best, -exactValue(child, opponentOf(side)));
  }
  if (moved) return best;
  if (plain::mobility(b, opponentOf(side)) == 0) {
    DiscCounts counts;
    plain::count(b, counts);
    return scoreFinal(counts[side], counts[opponentOf(side)]);
  }
  return -exactValue(b, opponentOf(side));
}

class Study : public testing::ControllerFixture<> {
 protected:
  void SetUp() override { make(quickSettings(kHuman, kHuman)); }
  int shownValueCount() {
    int n = 0;
    for (int v : c().study().squareValues()) n += v != SCORE_NONE;
    return n;
  }
  void analyseToTheEnd() {
    c().startAnalysis();
    ASSERT_EQ(c().mode(), ViewMode::Busy);
    ASSERT_TRUE(tickUntil(c(), [&] { return c().mode() == ViewMode::Idle; }));
  }
};

TEST_F(Study, EvaluationValuesListEveryComputerRoutine) {
  const Board initial = initialBoard();
  const std::string text = evaluationValuesText(initial, kBlack).japanese;
  c().showEvaluationValues();
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(window.messages[0], std::string(texts::kEvaluationHeading.japanese) + "\n" + text);

  // One line a routine, each with its value and its unit: "狸" counts
  // points of its own and says so; "狐" is in discs (or failed).
  std::string expected;
  for (int routine = 1; routine < routineCount(); ++routine) {
    DiscCounts counts;
    boardCount(initial, counts);
    const int score = routineEvaluator(routine).evaluate(initial, 0, kBlack, counts);
    char value[64];
    std::snprintf(value, sizeof value, "%s %+.2lf", routineTable[routine].name, score / 1000.0);
    if (score == SCORE_EVAL_ERROR) {
      expected += std::string(routineTable[routine].name) + " error\n";
    } else if (routine == kSimpleRoutine) {
      expected += std::string(value) + "点（独自の点数で、石数ではありません）\n";
    } else {
      // 96 empty squares: "狸" evaluates for "狐", which says so.
      expected += std::string(value) + "点（この局面では狸の評価で、石数ではありません）\n";
    }
  }
  EXPECT_EQ(text, expected);
  EXPECT_EQ(text.rfind("狸 ", 0), 0u) << "人間 is left out, 狸 comes first";
  EXPECT_EQ(c().mode(), ViewMode::Idle);
}

TEST_F(Study, EvaluationLinesHaveSignAndTwoDecimals) {
  EXPECT_EQ(texts::evaluationLine(kPatternRoutine, 3250, true).japanese, "狐 +3.25石\n");
  EXPECT_EQ(texts::evaluationLine(kPatternRoutine, -500, true).japanese, "狐 -0.50石\n");
  EXPECT_EQ(texts::evaluationLine(kPatternRoutine, SCORE_EVAL_ERROR, true).japanese, "狐 error\n");
  EXPECT_EQ(texts::analysisProgressText(25.0, 7).japanese, " 25.00%完了 7 sec");
  EXPECT_EQ(texts::analysisProgressText(100.0, 12).japanese, "100.00%完了 12 sec");
}

TEST_F(Study, EvaluationValuesDoNotStopAGame) {
  settings = quickSettings(kHuman, 1, 30, 0);
  startAndTick();
  ASSERT_EQ(c().mode(), ViewMode::Playing);
  c().showEvaluationValues();
  EXPECT_EQ(c().mode(), ViewMode::Playing);
  EXPECT_EQ(window.messages.size(), 1u);
}

TEST_F(Study, FortyEmptySquaresAreRefusedAndThirtyNineAccepted) {
  Board board = patternWithEmpties(40);
  ASSERT_EQ(emptyCount(board), 40);
  setPosition(c(), board, kBlack);
  startAndTick();
  ASSERT_EQ(c().mode(), ViewMode::Playing);
  c().startAnalysis();
  EXPECT_EQ(window.messages, std::vector<std::string>{"空きの数が40以上あるので、終盤解析はできません。"});
  EXPECT_EQ(c().mode(), ViewMode::Playing) << "a refusal leaves the game running";
  EXPECT_EQ(shownValueCount(), 0);

  board = wipeOutIn39Empties();
  ASSERT_EQ(emptyCount(board), 39);
  setPosition(c(), board, kBlack);
  analyseToTheEnd();
  EXPECT_EQ(window.messages.size(), 1u);
  EXPECT_EQ(shownValueCount(), 3);
}

TEST_F(Study, ThirtyNineEmptiesGiveTheValuesOfTheCommandLineAnalysis) {
  const Board board = wipeOutIn39Empties();
  setPosition(c(), board, kBlack);
  analyseToTheEnd();

  // What `kaimo-cli analyze` prints comes from this same call.
  SquareValues expected;
  const AnalysisResult result =
      analyzeEndgame(board, kBlack, routineEvaluator(kSimpleRoutine), {}, expected, nullptr, nullptr);
  EXPECT_FALSE(isMarker(result.last));
  EXPECT_EQ(c().study().squareValues(), expected);
  // Worked out by hand: each of the three moves takes the last white disc.
  for (int s : {squareAt(6, 4), squareAt(6, 5), squareAt(6, 6)})
    EXPECT_EQ(c().study().squareValues()[s], SCORE_WIPEOUT);
  // The first of the best moves is marked and named, as after a hint.
  EXPECT_EQ(c().study().bestSquare(), squareAt(6, 4));
  EXPECT_EQ(window.panes[kProgressPane], texts::hintText(squareAt(6, 4), SCORE_WIPEOUT, true).japanese);
  EXPECT_EQ(c().game().cursor(), 0);
  EXPECT_EQ(c().game().board(), board) << "the analysis leaves the position alone";
}

TEST_F(Study, ValuesAreTheExactResultOfEveryMove) {
  // Games played at random to about eight empty squares: small enough for a
  // plain negamax to read out, passes and all.
  std::mt19937 rng(326);
  int positions = 0;
  while (positions < 4) {
    int side;
    const Board board = plain::randomGame(rng, 88, &side);
    if (emptyCount(board) > 9 || plain::mobility(board, side) < 2) continue;
    ++positions;
    setPosition(c(), board, side);
    analyseToTheEnd();
    Board child;
    for (int s = 0; s < kSquareCount; ++s) {
      const int expected = plain::play(board, child, s, side) > 1 ? -exactValue(child, opponentOf(side)) : SCORE_NONE;
      EXPECT_EQ(c().study().squareValues()[s], expected) << "position " << positions << " square " << s;
    }
  }
}

TEST_F(Study, AMoveThatEndsTheGameScoresTheFinalCount) {
  // Black on the first 56 squares, white on the rest, but black j8, white
  // j9 and j10 empty: black's one move fills the board.
  Board board;
  for (int s = 0; s < kSquareCount; ++s) board[s] = s < 56 ? kBlack : kWhite;
  board[99] = kEmpty;
  board[98] = kWhite;
  board[97] = kBlack;
  setPosition(c(), board, kBlack);
  analyseToTheEnd();
  DiscCounts counts;
  Board after;
  ASSERT_GT(boardPlay(board, after, 99, kBlack), 1);
  boardCount(after, counts);
  EXPECT_EQ(c().study().squareValues()[99], (counts[0] - counts[1]) * 1000);
  EXPECT_EQ(shownValueCount(), 1);
}

TEST_F(Study, WithoutALegalMoveTheAnalysisIsRefused) {
  // 30 empty squares; the only white disc sits in the corner behind black.
  Board board;
  for (int s = 0; s < kSquareCount; ++s) board[s] = s < 70 ? kBlack : kEmpty;
  board[0] = kWhite;
  ASSERT_EQ(boardMobility(board, kBlack), 0);
  setPosition(c(), board, kBlack);
  c().startAnalysis();
  EXPECT_EQ(c().mode(), ViewMode::Idle);
  EXPECT_EQ(window.messages, std::vector<std::string>{texts::kAnalysisNoMove.japanese});
}

TEST_F(Study, ProgressAndValuesArriveMoveByMoveAndPauseClearsThem) {
  // Each move of a 15-empty position takes long enough to be seen alone.
  const Board board = patternWithEmpties(15);
  ASSERT_GT(boardMobility(board, kBlack), 2);
  setPosition(c(), board, kBlack);
  c().startAnalysis();
  EXPECT_EQ(window.panes[kProgressPane], "終盤解析");
  ASSERT_TRUE(tickUntil(c(), [&] { return shownValueCount() > 0 || c().mode() != ViewMode::Busy; }));
  ASSERT_EQ(c().mode(), ViewMode::Busy) << "the analysis finished before a tick saw it under way";
  EXPECT_LT(shownValueCount(), boardMobility(board, kBlack));
  ASSERT_TRUE(tickUntil(c(), [&] { return window.panes[kProgressPane] != "終盤解析"; }));
  double percent;
  long seconds;
  int consumed = 0;
  const std::string progress = window.panes[kProgressPane];
  EXPECT_EQ(std::sscanf(progress.c_str(), "%lf%%完了 %ld sec%n", &percent, &seconds, &consumed), 2) << progress;
  EXPECT_EQ(consumed, static_cast<int>(progress.size())) << progress;

  c().pause();
  EXPECT_EQ(c().mode(), ViewMode::Idle);
  EXPECT_EQ(shownValueCount(), 0);
  EXPECT_EQ(window.panes[kProgressPane], "停止");
  for (int i = 0; i < 3; ++i) c().onTimer();
  EXPECT_EQ(shownValueCount(), 0) << "a stopped analysis leaves no values";
}

TEST_F(Study, TheSecondsCountOnWhileAMoveTakesLong) {
  // 39 empty squares: the first move alone takes far longer than the test.
  setPosition(c(), patternWithEmpties(39), kBlack);
  c().startAnalysis();
  ASSERT_TRUE(tickUntil(
      c(), [&] { return window.panes[kProgressPane] != "終盤解析"; }, std::chrono::seconds(5)));
  EXPECT_EQ(window.panes[kProgressPane], "  0.00%完了 1 sec");
  EXPECT_EQ(c().mode(), ViewMode::Busy);
  c().pause();
  EXPECT_EQ(window.panes[kProgressPane], "停止");
}

TEST_F(Study, StartingAGameAfterAnAnalysisShowsNoLeftOverText) {
  setPosition(c(), wipeOutIn39Empties(), kBlack);
  analyseToTheEnd();
  window.paneLog = {};
  startAndTick();
  c().onTimer();
  EXPECT_FALSE(window.paneShowed(kProgressPane, texts::kAnalysisDone.japanese));
  EXPECT_EQ(window.panes[kProgressPane], "") << "the best move belonged to the analysis";
  EXPECT_EQ(c().study().bestSquare(), -1);
  EXPECT_EQ(shownValueCount(), 0) << "starting clears the values";
}

}  // namespace
}  // namespace kaimo
