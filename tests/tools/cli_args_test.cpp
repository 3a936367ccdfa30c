#include <gtest/gtest.h>

#include <string>

#include "tests/common/capture.h"
#include "tools/cli/commands.h"
#include "tools/common/cli_args.h"

namespace kaimo::cli {
namespace {

using kaimo::testing::captureCommand;

TEST(CliArgs, OptionsAndNumbers) {
  const Args args = Args::parse({"3", "--moves", "e4", "x"});
  EXPECT_EQ(args.positional, (std::vector<std::string>{"3", "x"}));
  EXPECT_EQ(args.get("--moves", ""), "e4");
  EXPECT_THROW(args.allowOnly({"--board"}), UsageError);
  EXPECT_THROW(Args::parse({"--moves"}), UsageError);
  EXPECT_THROW(Args::parse({"--moves", "a", "--moves", "b"}), UsageError);
  // An empty file or folder name would mean the current folder.
  EXPECT_EQ(Args::parse({}).getPath("--dir"), "");
  EXPECT_EQ(Args::parse({"--dir", "d"}).getPath("--dir"), "d");
  EXPECT_THROW(Args::parse({"--dir", ""}).getPath("--dir"), UsageError);
  EXPECT_EQ(parseInt("12", "n", 0, 20), 12);
  EXPECT_THROW(parseInt("12x", "n", 0, 20), UsageError);
  EXPECT_THROW(parseInt("", "n", 0, 20), UsageError);
  EXPECT_THROW(parseInt("21", "n", 0, 20), UsageError);
  EXPECT_THROW(parseInt("99999999999999999999", "n", 0, 20), UsageError);
}

TEST(CliCommands, PerftAndEvalOutput) {
  EXPECT_EQ(captureCommand(runPerft, {"3"}).output, "1 4\n2 12\n3 56\n");
  const std::string eval = captureCommand(runEval, {"--moves", "e4"}).output;
  EXPECT_NE(eval.find("狸 "), std::string::npos);
  EXPECT_THROW(captureCommand(runPerft, {}), UsageError);
  EXPECT_THROW(captureCommand(runPerft, {"3", "--board", "/nonexistent/board.txt"}), UsageError);
  EXPECT_THROW(captureCommand(runEval, {"--bogus", "1"}), UsageError);
  EXPECT_THROW(captureCommand(runMatch, {"--black", "狐", "--white", "狸", "--black-data", ""}), UsageError);
}

}  // namespace
}  // namespace kaimo::cli
