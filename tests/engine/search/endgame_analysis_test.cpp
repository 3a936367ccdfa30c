#include "engine/search/endgame_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <random>
#include <vector>

#include "tests/engine/search/reference_minimax.h"
#include "tests/engine/search/search_test_support.h"

namespace kaimo {
namespace {

using testing::boardFromText;

// The two workers report from their own threads, possibly at once.
std::mutex reportsLock;
std::vector<int> doneReports;
void recordDone(const SquareValues&, int done, int total, void*) {
  std::lock_guard hold(reportsLock);
  doneReports.push_back(done * 100 + total);
}

TEST(AnalyzeEndgame, EveryLegalMoveGetsItsExactValue) {
  std::mt19937 rng(31);
  for (int i = 0; i < 40; ++i) {
    const Board b = testing::randomEndgame(rng, 2 + i % 7, i % 2 == 0 ? 20 : 0, 50);
    const int side = static_cast<int>(rng() & 1);
    SquareValues values;
    doneReports.clear();
    const AnalysisResult result = analyzeEndgame(b, side, Evaluator{}, {}, values, recordDone, nullptr);
    EXPECT_FALSE(isMarker(result.last));
    std::sort(doneReports.begin(), doneReports.end());
    const int total = boardMobility(b, side);
    int done = 0;
    for (int s = 0; s < kSquareCount; ++s) {
      Board child;
      if (boardPlay(b, child, s, side) <= 1) {
        EXPECT_EQ(values[s], SCORE_NONE) << s;
        continue;
      }
      ++done;
      int expected;
      if (boardMobility(child, opponentOf(side)) > 0) {
        expected = -testing::referenceValue(child, opponentOf(side));
      } else if (boardMobility(child, side) > 0) {
        expected = testing::referenceValue(child, side);
      } else {
        expected = scoreFinal(testing::discsOf(child, side), testing::discsOf(child, opponentOf(side)));
      }
      EXPECT_EQ(values[s], expected) << "square " << s << " of position " << i;
      ASSERT_LE(done, static_cast<int>(doneReports.size()));
      EXPECT_EQ(doneReports[done - 1], done * 100 + total);
    }
    EXPECT_EQ(static_cast<int>(doneReports.size()), total);
  }
}

// Only the sign of each move's value: a win above 0, a draw 0, a loss below,
// the same as the exact values' on walled and open boards (draws, passes).
TEST(AnalyzeEndgame, WinLossValuesHaveTheSignsOfTheExactValues) {
  std::mt19937 rng(44);
  AnalysisSetup winLoss;
  winLoss.winLoss = true;
  int signs[3] = {};
  for (int i = 0; i < 32; ++i) {
    const bool drawOrPass = i < 2;
    const Board b = drawOrPass ? boardFromText(i == 0 ? testing::kDrawBoardText : testing::kPassBoardText)
                               : testing::randomEndgame(rng, 3 + i % 9, i % 2 == 0 ? 80 : 0, 50);
    const int side = drawOrPass ? kBlack : static_cast<int>(rng() & 1);
    SquareValues exact, verdicts;
    analyzeEndgame(b, side, Evaluator{}, {}, exact, nullptr, nullptr);
    analyzeEndgame(b, side, Evaluator{}, {}, verdicts, nullptr, nullptr, winLoss);
    for (int s = 0; s < kSquareCount; ++s) {
      if (exact[s] == SCORE_NONE) {
        EXPECT_EQ(verdicts[s], SCORE_NONE);
        continue;
      }
      const int sign = (exact[s] > 0) - (exact[s] < 0);
      EXPECT_EQ((verdicts[s] > 0) - (verdicts[s] < 0), sign) << "square " << s << " of position " << i;
      ++signs[sign + 1];
    }
  }
  EXPECT_GT(signs[0], 0);
  EXPECT_GT(signs[1], 0);
  EXPECT_GT(signs[2], 0);
}

TEST(AnalyzeEndgame, APassIsTheMoversOwnValueAndAnEndIsTheFinalScore) {
  // Black at c1: white must pass and black plays e1 too, 6 to 1.
  const Board pass = boardFromText(
      "xo.o.x----\n----------\n----------\n----------\n----------\n"
      "----------\n----------\n----------\n----------\n---------o\n");
  SquareValues values;
  analyzeEndgame(pass, kBlack, testing::failingEvaluator(), {}, values, nullptr, nullptr);
  EXPECT_EQ(values[20], 5000);
  EXPECT_EQ(values[40], SCORE_NONE);

  // The last square: 52 to 47 before, 56 to 44 after.
  Board last;
  last[0] = kEmpty;
  last[1] = last[2] = last[3] = kWhite;
  last[4] = last[10] = last[11] = kBlack;
  int black = 3;
  for (int s = 5; s < kSquareCount; ++s) {
    if (s == 10 || s == 11) continue;
    last[s] = black < 52 ? kBlack : kWhite;
    black += last[s] == kBlack;
  }
  const AnalysisResult result = analyzeEndgame(last, kBlack, testing::failingEvaluator(), {}, values, nullptr, nullptr);
  EXPECT_EQ(values[0], 12000);
  EXPECT_EQ(result.last, 12000);
}

TEST(AnalyzeEndgame, FortyEmptySquaresAreRefusedThirtyNineAreNot) {
  Board b;
  for (int s = 0; s < kSquareCount; ++s) b[s] = s < 60 ? kBlack : kEmpty;
  SquareValues values;
  AnalysisResult result = analyzeEndgame(b, kWhite, Evaluator{}, {}, values, nullptr, nullptr);
  EXPECT_EQ(result.last, SCORE_NONE);
  for (int v : values) EXPECT_EQ(v, SCORE_NONE);
  b[60] = kBlack;  // 39 empty squares; white has no disc and no move
  result = analyzeEndgame(b, kWhite, Evaluator{}, {}, values, nullptr, nullptr);
  EXPECT_EQ(result.last, 0);
  EXPECT_EQ(result.leafCount, 0);
  for (int v : values) EXPECT_EQ(v, SCORE_NONE);
}

TEST(AnalyzeEndgame, StopLeavesTheMovesNotYetSolvedWithoutValue) {
  std::mt19937 rng(2);
  int side;
  Board b;
  do {
    b = plain::randomGame(rng, 80, &side);
  } while (testing::countsOf(b)[2] != 16 || boardMobility(b, side) < 2);
  SquareValues values;
  std::stop_source stop;
  stop.request_stop();
  const AnalysisResult result = analyzeEndgame(b, side, Evaluator{}, stop.get_token(), values, nullptr, nullptr);
  EXPECT_EQ(result.last, SCORE_NONE);
  int solved = 0;
  for (int v : values) solved += v != SCORE_NONE;
  EXPECT_LT(solved, boardMobility(b, side));
}

}  // namespace
}  // namespace kaimo
