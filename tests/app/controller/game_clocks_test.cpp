// The game's clocks, on a clock the test moves by hand: the part alone,
// and the controller that makes a human lose on time.
#include "app/controller/game_clocks.h"

#include <gtest/gtest.h>

#include "app/controller/game_texts.h"
#include "engine/eval/routines.h"
#include "tests/app/controller/controller_fixture.h"

namespace kaimo {
namespace {

TimeSettings clockForBlack(int minutes, int increment, bool loseOnTime = true) {
  TimeSettings times;
  times.black = SideTime{.mode = TimeMode::Clock, .clockMinutes = minutes, .incrementSeconds = increment};
  times.white = SideTime{.mode = TimeMode::PerMove, .perMoveMs = 2000};
  times.loseOnTime = loseOnTime;
  return times;
}

TEST(GameClocks, AClockRunsDownAndGainsItsIncrement) {
  GameClocks clocks;
  clocks.reset(clockForBlack(1, 2));
  clocks.start(kBlack, 1000);
  EXPECT_EQ(clocks.shownMs(kBlack, 11000), 50000);
  clocks.moved(kBlack, 11000);
  EXPECT_EQ(clocks.running(), -1);
  EXPECT_EQ(clocks.shownMs(kBlack, 99000), 52000);  // stopped: no time passes
  clocks.start(kBlack, 20000);
  EXPECT_FALSE(clocks.ranOut(kBlack, 71999));
  EXPECT_TRUE(clocks.ranOut(kBlack, 72000));
  clocks.stop(73000);
  EXPECT_EQ(clocks.shownMs(kBlack, 80000), -1000);
  EXPECT_EQ(clocks.controlOf(kBlack), (TimeControl{.gameMs = 60000, .incrementMs = 2000}));
}

TEST(GameClocks, ATimePerMoveStartsAfreshEachMove) {
  GameClocks clocks;
  clocks.reset(clockForBlack(1, 0));
  clocks.start(kWhite, 0);
  EXPECT_FALSE(clocks.ranOut(kWhite, 1999));
  EXPECT_TRUE(clocks.ranOut(kWhite, 2000));
  clocks.moved(kWhite, 1500);
  clocks.start(kWhite, 5000);
  EXPECT_EQ(clocks.remainingMs(kWhite, 5500), 1500);
  EXPECT_EQ(clocks.controlOf(kWhite), (TimeControl{.perMoveMs = 2000}));
}

TEST(GameClocks, ASideByDepthCountsItsTimeUp) {
  GameClocks clocks;
  clocks.reset(TimeSettings{});
  clocks.start(kBlack, 0);
  clocks.moved(kBlack, 3000);
  clocks.start(kBlack, 10000);
  EXPECT_EQ(clocks.shownMs(kBlack, 11000), 4000);
  EXPECT_FALSE(clocks.ranOut(kBlack, 1000000));
  EXPECT_FALSE(clocks.controlOf(kBlack).timed());
}

TEST(GameClocks, TheirTexts) {
  EXPECT_EQ(texts::clockText(TimeMode::Clock, 600000).japanese, "10:00");
  EXPECT_EQ(texts::clockText(TimeMode::Clock, 59001).japanese, "1:00");  // whole seconds left round up
  EXPECT_EQ(texts::clockText(TimeMode::Clock, 20000).japanese, "0:20");
  EXPECT_EQ(texts::clockText(TimeMode::Clock, 19999).japanese, "0:19.9");
  EXPECT_EQ(texts::clockText(TimeMode::PerMove, 0).japanese, "0:00.0");
  EXPECT_EQ(texts::clockText(TimeMode::Clock, -3000).japanese, "-0:03.0");
  EXPECT_EQ(texts::clockText(TimeMode::Depth, 83999).japanese, "消費 1:23");
  const SideTime clock{.mode = TimeMode::Clock, .clockMinutes = 10, .incrementSeconds = 5};
  EXPECT_EQ(texts::playerText(kHumanRoutine, false, 0, {6, 0, 13}, clock).japanese, "人間 持ち時間10分+5秒");
  EXPECT_EQ(texts::playerText(kPatternRoutine, true, 11, {60, 0, 13}, SideTime{.mode = TimeMode::PerMove}).japanese, "狐 レベル11");
  EXPECT_EQ(texts::playerText(kPatternRoutine, true, 0, {60, 0, 13}, SideTime{.mode = TimeMode::PerMove, .perMoveMs = 2500}).japanese,
            "狐 1手2.5秒");
  EXPECT_EQ(texts::playerText(kSimpleRoutine, true, 0, {7, 0, 15}, SideTime{}).japanese, "狸 深さ7/15/0");
}

// Two humans, black on a one-minute clock.
class LoseOnTime : public testing::ControllerFixture<> {
 protected:
  void makeWith(const TimeSettings& times) {
    settings = testing::quickSettings(testing::kHuman, testing::kHuman);
    controller = std::make_unique<GameController>(settings, window, [this] { return now; });
    c().applyTimes(times);
  }
  std::int64_t now = 1000;
};

TEST_F(LoseOnTime, AHumanOutOfTimeLosesAtTheNextTick) {
  makeWith(clockForBlack(1, 0));
  startAndTick();
  now += 59999;
  c().onTimer();
  EXPECT_EQ(c().mode(), ViewMode::Playing);
  now += 1;
  c().onTimer();
  EXPECT_EQ(c().mode(), ViewMode::Idle);
  EXPECT_EQ(c().lostOnTime(), kBlack);
  EXPECT_EQ(window.panes[0], texts::kTimeUp.japanese);
  ASSERT_FALSE(window.messages.empty());
  EXPECT_EQ(window.messages.back(), texts::timeLossText(kBlack).japanese);
  // The next game starts with full clocks.
  c().goToPosition(0);
  startAndTick();
  EXPECT_EQ(c().clocks().shownMs(kBlack, now), 60000);
}

TEST_F(LoseOnTime, AMoveInTimeChargesOnlyItsTime) {
  makeWith(clockForBlack(1, 3));
  startAndTick();
  now += 20000;
  clickAndTick(testing::firstLegalSquare(c().game().board(), kBlack));
  EXPECT_EQ(c().clocks().shownMs(kBlack, now), 43000);
  EXPECT_EQ(c().clocks().running(), kWhite);
  now += 2000;  // white's two seconds a move are gone
  c().onTimer();
  EXPECT_EQ(c().lostOnTime(), kWhite);
}

TEST_F(LoseOnTime, WithTheSwitchOffTheClockOnlyCounts) {
  makeWith(clockForBlack(1, 0, false));
  startAndTick();
  now += 61000;
  c().onTimer();
  EXPECT_EQ(c().mode(), ViewMode::Playing);
  EXPECT_EQ(c().lostOnTime(), -1);
  EXPECT_EQ(c().clockText(kBlack).japanese, "-0:01.0");
}

// A computer by time plays its moves through the clock manager: both
// sides "狸" at 0.1 s a move, from a position six squares from the end.
TEST_F(LoseOnTime, AComputerByTimePlaysToTheEnd) {
  settings = testing::quickSettings(testing::kComputer, testing::kComputer);
  controller = std::make_unique<GameController>(settings, window);
  TimeSettings times;
  times.black = times.white = SideTime{.mode = TimeMode::PerMove, .perMoveMs = 100};
  c().applyTimes(times);
  testing::setPosition(c(), testing::nearlyFullBoard(), kWhite);
  c().start();
  ASSERT_TRUE(testing::tickUntil(c(), [&] { return c().mode() == ViewMode::Idle; }));
  EXPECT_EQ(window.panes[kProgressPane], texts::kGameOver.japanese);
  EXPECT_GE(c().game().history().size(), 4u);
}

}  // namespace
}  // namespace kaimo
