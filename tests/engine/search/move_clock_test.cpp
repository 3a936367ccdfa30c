// The clock manager as a pure function: what it promises a side about its
// time, on a table of clocks, increments and empty squares.
#include <gtest/gtest.h>

#include "engine/search/move_clock.h"

namespace kaimo {
namespace {

constexpr std::int64_t kRemaining[] = {0, 1, 19, 20, 21, 25, 50, 100, 400, 1000, 5000, 20000, 60000, 600000, 36000000};
constexpr std::int64_t kIncrements[] = {0, 100, 2000, 30000};
constexpr int kEmpties[] = {96, 90, 80, 64, 50, 40, 30, 24, 22, 20, 18, 14, 6, 1};

TEST(MoveClock, NeverPastTheTimeLeftMinusTheMargin) {
  for (const std::int64_t remaining : kRemaining) {
    for (const std::int64_t increment : kIncrements) {
      for (const int empties : kEmpties) {
        for (const std::int64_t latency : {0, 100}) {
          const MoveBudget b = budgetForClock(remaining, increment, empties, latency);
          const std::int64_t allowed = std::max<std::int64_t>(0, remaining - safetyMarginMs(remaining, latency));
          SCOPED_TRACE(testing::Message() << remaining << " ms + " << increment << ", " << empties << " empty");
          EXPECT_LE(b.hardMs, allowed);
          EXPECT_GE(b.softMs, 0);
          EXPECT_LE(b.softMs, b.hardMs);
        }
      }
    }
  }
}

TEST(MoveClock, NothingLeftGivesTheQuickestMove) {
  for (const std::int64_t remaining : {0, 1, 19, 20}) {
    EXPECT_EQ(budgetForClock(remaining, 0, 50), (MoveBudget{0, 0, false})) << remaining;
  }
  EXPECT_GT(budgetForClock(1000, 0, 50).hardMs, 0);
  EXPECT_EQ(budgetPerMove(20, 50), (MoveBudget{0, 0, false}));
}

TEST(MoveClock, ReadsToTheEndWhenTheReadFits) {
  // Plenty of time near the end: to the end, with room for twice the estimate.
  for (const int empties : {1, 6, 14, 18, 20}) {
    const MoveBudget b = budgetForClock(20000, 0, empties);
    EXPECT_TRUE(b.readToEnd) << empties;
    EXPECT_GE(b.hardMs, 2 * exactReadEstimateMs(empties)) << empties;
  }
  // Not when the estimate is beyond the time left.
  EXPECT_FALSE(budgetForClock(20000, 0, 30).readToEnd);
  EXPECT_FALSE(budgetForClock(1000, 0, 22).readToEnd);
  // More time, or fewer empty squares, never turns a read to the end off.
  for (const int empties : kEmpties) {
    bool before = false;
    for (const std::int64_t remaining : kRemaining) {
      const bool now = budgetForClock(remaining, 0, empties).readToEnd;
      EXPECT_TRUE(now || !before) << remaining << " ms, " << empties << " empty";
      before = now;
      if (now && empties > 1) {
        EXPECT_TRUE(budgetForClock(remaining, 0, empties - 1).readToEnd);
      }
    }
  }
  EXPECT_TRUE(budgetPerMove(1000, 14).readToEnd);
  EXPECT_FALSE(budgetPerMove(1000, 40).readToEnd);
}

TEST(MoveClock, TheIncrementIsSpentToo) {
  for (const int empties : {80, 50, 30}) {
    EXPECT_GT(budgetForClock(60000, 2000, empties).softMs, budgetForClock(60000, 0, empties).softMs) << empties;
  }
}

TEST(MoveClock, TheMiddleGameGetsMoreThanTheOpening) {
  // A game played out on one clock, each move spending its soft budget.
  std::int64_t remaining = 60000;
  std::int64_t opening = 0, middle = 0;
  for (int empties = 94; empties > 0; empties -= 2) {
    const MoveBudget b = budgetForClock(remaining, 0, empties);
    if (empties == 94) opening = b.softMs;
    if (empties == 60) middle = b.softMs;
    remaining -= b.softMs;
    ASSERT_GT(remaining, 0) << empties;
  }
  EXPECT_GT(middle, opening);
}

TEST(MoveClock, ASideSpendingEveryHardLimitNeverRunsOut) {
  for (const std::int64_t start : {1000, 20000, 300000}) {
    std::int64_t remaining = start;
    for (int empties = 94; empties > 0; empties -= 2) {
      remaining -= budgetForClock(remaining, 0, empties).hardMs;
      ASSERT_GT(remaining, 0) << start << " ms, " << empties << " empty";
    }
  }
}

TEST(MoveClock, TimePerMove) {
  for (const std::int64_t perMove : {100, 400, 1000, 600000}) {
    const MoveBudget b = budgetPerMove(perMove, 50);
    EXPECT_LE(b.hardMs, perMove - safetyMarginMs(perMove));
    EXPECT_GT(b.hardMs, perMove / 2);
    EXPECT_EQ(budgetFor(TimeControl{.perMoveMs = perMove}, 0, 50), b);
  }
}

TEST(MoveClock, ADeeperReadStartsOnlyWhenItFits) {
  const MoveBudget b{300, 900, false};
  EXPECT_TRUE(deeperReadFits(b, 0));
  EXPECT_TRUE(deeperReadFits(b, 299));
  EXPECT_FALSE(deeperReadFits(b, 300));
  const MoveBudget tight{1000, 900, false};
  EXPECT_TRUE(deeperReadFits(tight, 300));   // the next read ends at 900
  EXPECT_FALSE(deeperReadFits(tight, 301));  // past the hard limit
}

}  // namespace
}  // namespace kaimo
