#include "app/controller/think_worker.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

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
using testing::patternOpening;
using testing::readProgressText;

// "狐" without its data: every position of 84 empty squares or fewer fails.
Evaluator failingEvaluator() {
  return PatternEvaluator(std::make_shared<const PatternData>("kaimo-no-such-data-folder"));
}

// The think job's procedure on a search prepared by hand, or as a computer
// turn prepares it, run on the test's thread.
class Think : public ::testing::Test {
 protected:
  void prepare(const Board& b, int side, int depth, int winDepth, Evaluator evaluator = {}, std::stop_token stop = {}) {
    board = b;
    prepareSearchJob(job, board, side, depth, winDepth, std::move(evaluator), std::move(stop), nullptr, depth - 2);
  }
  void prepareTurn(const Board& b, int side, const SideSettings& settings) {
    board = b;
    prepareComputerMove(job, board, side, settings, {}, nullptr);
  }
  ThinkResult run() {
    const ThinkResult result = runThink(job, exchange);
    said = exchange.take().value_or(ThinkProgress{});
    return result;
  }
  std::string sideText() const { return said.sideText.value_or(texts::Wording()).japanese; }
  bool isLegal(int square, int side) {
    Board scratch;
    return square >= 0 && square < kSquareCount && boardPlay(board, scratch, square, side) > 1;
  }

  Board board{};
  SearchJob job{};
  ThinkWorker::Exchange exchange;
  ThinkProgress said;
};

TEST_F(Think, NormalReadPostsALegalMoveWithItsValue) {
  prepare(initialBoard(), kBlack, 3, 0);
  const ThinkResult r = run();
  EXPECT_TRUE(isLegal(r.move, kBlack)) << r.move;
  EXPECT_FALSE(isMarker(r.value));
  EXPECT_EQ(sideText(), texts::kNormalRead.japanese);
  ASSERT_TRUE(said.line);
  EXPECT_EQ(said.line->lineDepth, 3) << "the line of the finished search";
  EXPECT_EQ(said.line->moves.front(), r.move);
}

// Reads of the win/loss kind: more empty squares than the exact-read depth
// covers, no more than the win-read depth.
const SideSettings kWinReader{.normalDepth = 2, .exactDepth = 0, .winDepth = 20};

TEST_F(Think, ProvenWinPlaysTheMoveFound) {
  prepareTurn(nearlyFullBoard(), kBlack, kWinReader);
  const ThinkResult r = run();
  EXPECT_EQ(sideText(), texts::kWinProven.japanese);
  EXPECT_TRUE(isLegal(r.move, kBlack)) << "a proven win must not stop the game; move " << r.move;
  EXPECT_EQ(r.value, SCORE_NONE) << "a win read proves a bound, not a value to show";
}

TEST_F(Think, ProvenLossSearchesAgainForTheBestDefence) {
  prepareTurn(nearlyFullBoard(), kWhite, kWinReader);
  const ThinkResult r = run();
  EXPECT_EQ(sideText(), texts::kLossProven.japanese);
  EXPECT_TRUE(isLegal(r.move, kWhite)) << r.move;
  EXPECT_LT(r.value, 0);
  EXPECT_FALSE(isMarker(r.value));
}

// The side's pane at the ends of the win/loss read: the board's 6 empty
// squares at and one past the exact-read depth, at and one past the win-read
// depth.
TEST_F(Think, TheReadsKindFollowsTheExactAndWinDepths) {
  struct Case {
    int exact, win;
    const char* text;  // the last the pane heard
  };
  const Case cases[] = {
      {6, 8, texts::kExactRead.japanese},   // E = exact depth
      {5, 8, texts::kWinProven.japanese},   // E = exact depth + 1
      {0, 6, texts::kWinProven.japanese},   // E = win depth
      {0, 5, texts::kNormalRead.japanese},  // E = win depth + 1
  };
  ASSERT_EQ(emptyCount(nearlyFullBoard()), 6);
  for (const Case& c : cases) {
    prepareTurn(nearlyFullBoard(), kBlack, SideSettings{.normalDepth = 2, .exactDepth = c.exact, .winDepth = c.win});
    const ThinkResult r = run();
    EXPECT_EQ(sideText(), std::string(c.text)) << "exact " << c.exact << " win " << c.win;
    EXPECT_TRUE(isLegal(r.move, kBlack));
    EXPECT_EQ(r.value == SCORE_NONE, std::string(c.text) == texts::kWinProven.japanese) << "only a proven win shows no value";
  }
}

TEST_F(Think, FailedEvaluationPostsNoMoveAndFlagsTheFailure) {
  prepare(patternOpening(), kBlack, 3, 0, failingEvaluator());
  const ThinkResult r = run();
  EXPECT_EQ(r.move, -1);
  EXPECT_EQ(r.value, SCORE_NONE);
  EXPECT_TRUE(r.evalFailed);
}

TEST_F(Think, NoLegalMovePostsNoMove) {
  prepare(blackMustPassBoard(), kBlack, 2, 0);
  const ThinkResult r = run();
  EXPECT_EQ(r.move, -1);
  EXPECT_FALSE(r.evalFailed);
}

TEST_F(Think, StopRequestedBeforehandPostsNoMove) {
  std::stop_source stop;
  stop.request_stop();
  prepare(initialBoard(), kBlack, 12, 0, {}, stop.get_token());
  const ThinkResult r = run();
  EXPECT_EQ(r.move, -1);
  EXPECT_FALSE(r.evalFailed);
}

// The text of pane 0 from a report, if the reporter wrote one.
std::string progressText(ThinkWorker::Exchange& exchange) {
  const std::optional<ThinkProgress> said = exchange.take();
  return said && said->progressText ? *said->progressText : "";
}

TEST(ProgressReport, WritesPercentRateAndTimeWithSixtyFourBitCounts) {
  ThinkWorker::Exchange exchange;
  const SearchJob job{};  // not the search reported: no line to publish
  ThinkReporter reporter(job, 1, exchange);
  SearchContext context{};
  context.setup.startTime = searchClockMs() - 1000;
  context.thread.leafCount = 5'000'000'000;  // more than a 32-bit count holds
  context.thread.orderCount = 0;
  reporter.report(25 * kProgressPerPercent, context);
  std::string text = progressText(exchange);
  const auto progress = readProgressText(text);
  ASSERT_TRUE(progress) << text;
  EXPECT_EQ(progress->percent, 25);
  EXPECT_GE(progress->elapsed, 1000);
  EXPECT_EQ(progress->rate, 5'000'000'000 / progress->elapsed);

  reporter.report(26 * kProgressPerPercent + 5, context);
  EXPECT_EQ(progressText(exchange).substr(0, 4), "26% ");
}

TEST(ProgressReport, NoTimeElapsedCountsAsOneMillisecond) {
  ThinkWorker::Exchange exchange;
  const SearchJob job{};  // not the search reported: no line to publish
  ThinkReporter reporter(job, 1, exchange);
  SearchContext context{};
  context.setup.startTime = searchClockMs();
  context.thread.leafCount = 7;
  reporter.report(99 * kProgressPerPercent, context);
  const std::string text = progressText(exchange);
  const auto progress = readProgressText(text);
  ASSERT_TRUE(progress) << text;
  EXPECT_EQ(progress->percent, 99);
  EXPECT_GE(progress->elapsed, 1);
  EXPECT_EQ(progress->rate, 7 / progress->elapsed);
}

}  // namespace
}  // namespace kaimo
