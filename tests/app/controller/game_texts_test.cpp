#include "app/controller/game_texts.h"

#include <gtest/gtest.h>

namespace kaimo::texts {
namespace {

TEST(GameTexts, EvaluationInDiscsWithSignAndTwoDecimals) {
  EXPECT_EQ(evaluationText(500), "+0.50");
  EXPECT_EQ(evaluationText(3250), "+3.25");
  EXPECT_EQ(evaluationText(-1500), "-1.50");
  EXPECT_EQ(evaluationText(0), "+0.00");
  EXPECT_EQ(evaluationText(-64000), "-64.00");
}

TEST(GameTexts, PassAndCounts) {
  EXPECT_EQ(passText(0), "黒はパスです。");
  EXPECT_EQ(passText(1), "白はパスです。");
  EXPECT_EQ(blackCountText(60), "黒60石");
  EXPECT_EQ(whiteCountText(0), "白0石");
  EXPECT_EQ(gameOverText(60, 40), "終了 黒60石 白40石");
}

TEST(GameTexts, ProgressKeepsSixtyFourBitNumbers) {
  EXPECT_EQ(progressText(7, 1234, 56), "7% 1234KLeaf/sec 56msec");
  EXPECT_EQ(progressText(100, 5'000'000'000, 1), "100% 5000000000KLeaf/sec 1msec");
}

}  // namespace
}  // namespace kaimo::texts
