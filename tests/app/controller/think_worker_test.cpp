#include "app/controller/think_worker.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "app/controller/exchange.h"
#include "app/controller/game_texts.h"
#include "engine/eval/eval_simple.h"
#include "engine/eval/score.h"
#include "tests/app/controller/controller_fixture.h"

namespace kaimo {
namespace {

using testing::blackMustPassBoard;
using testing::emptyCount;
using testing::initialBoard;
using testing::nearlyFullBoard;
using testing::readProgressText;

// "狐" without its data: every position of 84 empty squares or fewer fails.
Evaluator failingEvaluator() {
  return PatternEvaluator(std::make_shared<const PatternData>("kaimo-no-such-data-folder"));
}

// An opening of twelve plies: 84 empty squares, where "狐" needs its data.
Board patternOpening() {
  Board b;
  int side = boardInit(b);
  for (const int square : {43, 33, 66, 53, 52, 62, 36, 26, 25, 24, 13, 14}) {
    boardPlayInPlace(b, square, side);
    side = opponentOf(side);
  }
  return b;
}

struct NoProgress final : SearchProgress {
  void report(int, const SearchContext&) override {}
};

class Worker : public ::testing::Test {
 protected:
  void SetUp() override {
    exchange().clear();
    exchange().resetResult(1);
  }
  void prepare(const Board& b, int side, int depth, int winDepth, Evaluator evaluator = {}) {
    board = b;
    prepareSearchJob(job, board, side, depth, winDepth, std::move(evaluator), exchange().stopToken(), &noProgress,
                     depth - 2);
  }
  // Runs the worker on a thread of its own, as the controller does.
  ThinkResult run() {
    std::thread worker(thinkWorker, &job);
    worker.join();
    return exchange().readResult();
  }
  std::string slotText(int slot) {
    std::string text;
    exchange().takeStatusText(slot, text);
    return text;
  }
  bool isLegal(int square, int side) {
    Board scratch;
    return square >= 0 && square < kSquareCount && boardPlay(board, scratch, square, side) > 1;
  }

  Board board{};
  SearchJob job{};
  NoProgress noProgress;
};

TEST_F(Worker, NormalReadPostsALegalMoveWithItsValue) {
  prepare(initialBoard(), kBlack, 3, 0);
  const ThinkResult r = run();
  EXPECT_EQ(r.finished, 1);
  EXPECT_EQ(r.workerMarker, 0);
  EXPECT_TRUE(isLegal(r.move, kBlack)) << r.move;
  EXPECT_FALSE(isMarker(r.value));
  EXPECT_EQ(slotText(kBlack + 1), texts::kNormalRead);
}

TEST_F(Worker, ProvenWinPlaysTheMoveFound) {
  prepare(nearlyFullBoard(), kBlack, 2, 20);
  const ThinkResult r = run();
  EXPECT_EQ(slotText(kBlack + 1), texts::kWinProven);
  EXPECT_EQ(r.finished, 1);
  EXPECT_TRUE(isLegal(r.move, kBlack)) << "a proven win must not stop the game; move " << r.move;
  EXPECT_EQ(r.value, SCORE_NONE) << "a win read proves a bound, not a value to show";
}

TEST_F(Worker, ProvenLossSearchesAgainForTheBestDefence) {
  prepare(nearlyFullBoard(), kWhite, 2, 20);
  const ThinkResult r = run();
  EXPECT_EQ(slotText(kWhite + 1), texts::kLossProven);
  EXPECT_TRUE(isLegal(r.move, kWhite)) << r.move;
  EXPECT_LT(r.value, 0);
  EXPECT_FALSE(isMarker(r.value));
}

TEST_F(Worker, FailedEvaluationPostsNoMoveAndFlagsTheFailure) {
  prepare(patternOpening(), kBlack, 3, 0, failingEvaluator());
  const ThinkResult r = run();
  EXPECT_EQ(r.finished, 1);
  EXPECT_EQ(r.move, -1);
  EXPECT_EQ(r.value, SCORE_NONE);
  EXPECT_TRUE(exchange().takeEvalError());
  EXPECT_FALSE(exchange().takeEvalError());
}

TEST_F(Worker, NoLegalMovePostsNoMove) {
  prepare(blackMustPassBoard(), kBlack, 2, 0);
  const ThinkResult r = run();
  EXPECT_EQ(r.finished, 1);
  EXPECT_EQ(r.move, -1);
  EXPECT_FALSE(exchange().takeEvalError());
}

TEST_F(Worker, StopRequestedBeforehandPostsNoMove) {
  prepare(initialBoard(), kBlack, 12, 0);
  exchange().requestStop(1);
  const ThinkResult r = run();
  exchange().requestStop(0);
  EXPECT_EQ(r.finished, 1);
  EXPECT_EQ(r.move, -1);
}

TEST(ProgressReport, WritesPercentRateAndTimeWithSixtyFourBitCounts) {
  exchange().clear();
  const SearchJob job{};  // not the search reported: no line to publish
  ThinkProgress reporter(job, 1);
  SearchContext context{};
  context.startTime = searchClockMs() - 1000;
  context.leafCount = 5'000'000'000;  // more than a 32-bit count holds
  context.orderCount = 0;
  reporter.report(25 * kProgressPerPercent, context);
  std::string text;
  ASSERT_TRUE(exchange().takeStatusText(0, text));
  const auto progress = readProgressText(text);
  ASSERT_TRUE(progress) << text;
  EXPECT_EQ(progress->percent, 25);
  EXPECT_GE(progress->elapsed, 1000);
  EXPECT_EQ(progress->rate, 5'000'000'000 / progress->elapsed);

  reporter.report(26 * kProgressPerPercent + 5, context);
  ASSERT_TRUE(exchange().takeStatusText(0, text));
  EXPECT_EQ(text.substr(0, 4), "26% ");
}

TEST(ProgressReport, NoTimeElapsedCountsAsOneMillisecond) {
  exchange().clear();
  const SearchJob job{};  // not the search reported: no line to publish
  ThinkProgress reporter(job, 1);
  SearchContext context{};
  context.startTime = searchClockMs();
  context.leafCount = 7;
  reporter.report(99 * kProgressPerPercent, context);
  std::string text;
  ASSERT_TRUE(exchange().takeStatusText(0, text));
  const auto progress = readProgressText(text);
  ASSERT_TRUE(progress) << text;
  EXPECT_EQ(progress->percent, 99);
  EXPECT_GE(progress->elapsed, 1);
  EXPECT_EQ(progress->rate, 7 / progress->elapsed);
}

}  // namespace
}  // namespace kaimo
