// kaimo-cli eval lists "狐" after "狸" and reports its missing data.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/eval/pattern_eval.h"
#include "tests/common/capture.h"
#include "tools/cli/commands.h"

namespace kaimo {
namespace {

using testing::captureCommand;

TEST(PatternCli, ListsBothComputerRoutinesAndAnErrorWithoutData) {
  if (std::filesystem::exists("fgtb040.kmx")) GTEST_SKIP() << "data files in the test directory";
  ASSERT_TRUE(defaultPatternData()->failed());
  // At start the evaluator logged the first table it could not open.
  std::FILE* log = std::fopen("errorlog.txt", "rb");
  ASSERT_NE(log, nullptr);
  std::string text;
  for (int c; (c = std::fgetc(log)) != EOF;) text += static_cast<char>(c);
  std::fclose(log);
  EXPECT_NE(text.find("ルーチン狐 : データファイルfgtb040.kmxが開けません。\n"), std::string::npos);

  // The opening is scored by the simple evaluation, later positions need the data.
  EXPECT_EQ(captureCommand(cli::runEval, {}).output, "狸 +0.00\n狐 +0.00\n");
  const std::string midgame = captureCommand(cli::runEval, {"--moves", "d5d6g7f4f3g3d7c7c6c5b4b5"}).output;
  EXPECT_EQ(midgame.substr(midgame.find('\n') + 1), "狐 error\n");
  EXPECT_EQ(midgame.rfind("狸 ", 0), 0u);
}

}  // namespace
}  // namespace kaimo
