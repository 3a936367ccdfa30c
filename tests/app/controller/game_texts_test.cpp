#include "app/controller/game_texts.h"

#include <gtest/gtest.h>

#include "engine/eval/routines.h"

namespace kaimo::texts {
namespace {

TEST(GameTexts, EvaluationInDiscsWithSignAndTwoDecimals) {
  EXPECT_EQ(evaluationText(500), "+0.50");
  EXPECT_EQ(evaluationText(3250), "+3.25");
  EXPECT_EQ(evaluationText(-1500), "-1.50");
  EXPECT_EQ(evaluationText(0), "+0.00");
  EXPECT_EQ(evaluationText(-64000), "-64.00");
}

TEST(GameTexts, PassAndCountsInBothLanguages) {
  const std::pair<Wording, Wording> cases[] = {
      {passText(0), {"黒はパスです。", "Black passes."}},
      {passText(1), {"白はパスです。", "White passes."}},
      {blackCountText(60), {"黒60石", "Black 60 discs"}},
      {whiteCountText(0), {"白0石", "White 0 discs"}},
      {gameOverText(60, 40), {"終了 黒60石 白40石", "Game over: Black 60 discs, White 40 discs"}},
  };
  for (const auto& [made, expected] : cases) EXPECT_EQ(made, expected) << expected.japanese;
}

// The window names the routines as the routine table does, and every one
// has its English name.
TEST(GameTexts, RoutineNamesAreTheTablesInJapanese) {
  for (int routine = 0; routine < routineCount(); ++routine) {
    EXPECT_STREQ(routineName(routine).japanese, routineTable[routine].name);
    EXPECT_STRNE(routineName(routine).english, "") << routine;
  }
  EXPECT_TRUE(routineName(routineCount()).empty());
  EXPECT_TRUE(routineName(-1).empty());
}

TEST(GameTexts, ProgressKeepsSixtyFourBitNumbers) {
  EXPECT_EQ(progressText(7, 1234, 56), "7% 1234KLeaf/sec 56msec");
  EXPECT_EQ(progressText(100, 5'000'000'000, 1), "100% 5000000000KLeaf/sec 1msec");
}

}  // namespace
}  // namespace kaimo::texts

namespace kaimo::texts {
namespace {

// What gives a value: "狐" evaluates with its network at 84 empty squares
// and fewer, the simple evaluation stands in above; a read to the end and
// "狸" are not affected by the count.
TEST(GameTexts, TheUnitFollowsTheEvaluationThatGaveTheValue) {
  struct Case {
    int routine;
    bool exact;
    int leafEmpties;
    bool inDiscs, standIn;
  };
  const Case cases[] = {
      {kPatternRoutine, false, 84, true, false}, {kPatternRoutine, false, 85, false, true},
      {kPatternRoutine, true, 90, true, false},  {kSimpleRoutine, false, 20, false, false},
      {kSimpleRoutine, true, 20, true, false},   {kHumanRoutine, false, 20, false, false},
  };
  for (const Case& c : cases) {
    const ValueSource source = valueSource(c.routine, c.exact, c.leafEmpties);
    EXPECT_EQ(source.inDiscs, c.inDiscs) << c.routine << c.exact << c.leafEmpties;
    EXPECT_EQ(source.standIn, c.standIn) << c.routine << c.exact << c.leafEmpties;
  }
  // The thinking column: six plies from 90 empty squares leave 84.
  ThinkingDisplay thinking{kWhite, kPatternRoutine, true, false, {}, 90};
  thinking.line = ThinkingLine{6, false, 6, -3000, {}};
  EXPECT_TRUE(sourceOf(thinking).inDiscs);
  thinking.line.lineDepth = 5;
  EXPECT_TRUE(sourceOf(thinking).standIn);
  EXPECT_NE(valueText(-3000, sourceOf(thinking)).japanese.find("狸"), std::string::npos) << "it says what evaluates";
}

}  // namespace
}  // namespace kaimo::texts
