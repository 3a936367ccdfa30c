#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tools/cli/cli_args.h"
#include "tools/cli/commands.h"

namespace kaimo::cli {
namespace {

std::string capture(int (*run)(const Words&, std::FILE*), const Words& words) {
  std::FILE* f = std::tmpfile();
  run(words, f);
  std::string text(static_cast<std::size_t>(std::ftell(f)), '\0');
  std::rewind(f);
  EXPECT_EQ(std::fread(text.data(), 1, text.size(), f), text.size());
  std::fclose(f);
  return text;
}

TEST(CliArgs, OptionsAndNumbers) {
  const Args args = Args::parse({"3", "--moves", "e4", "x"});
  EXPECT_EQ(args.positional, (std::vector<std::string>{"3", "x"}));
  EXPECT_EQ(args.get("--moves", ""), "e4");
  EXPECT_THROW(args.allowOnly({"--board"}), UsageError);
  EXPECT_THROW(Args::parse({"--moves"}), UsageError);
  EXPECT_THROW(Args::parse({"--moves", "a", "--moves", "b"}), UsageError);
  EXPECT_EQ(parseInt("12", "n", 0, 20), 12);
  EXPECT_THROW(parseInt("12x", "n", 0, 20), UsageError);
  EXPECT_THROW(parseInt("", "n", 0, 20), UsageError);
  EXPECT_THROW(parseInt("21", "n", 0, 20), UsageError);
  EXPECT_THROW(parseInt("99999999999999999999", "n", 0, 20), UsageError);
}

TEST(CliCommands, PerftAndEvalOutput) {
  EXPECT_EQ(capture(runPerft, {"3"}), "1 4\n2 12\n3 56\n");
  const std::string eval = capture(runEval, {"--moves", "e4"});
  EXPECT_NE(eval.find("狸 "), std::string::npos);
  EXPECT_THROW(capture(runPerft, {}), UsageError);
  EXPECT_THROW(capture(runPerft, {"3", "--board", "/nonexistent/board.txt"}), UsageError);
  EXPECT_THROW(capture(runEval, {"--bogus", "1"}), UsageError);
}

}  // namespace
}  // namespace kaimo::cli
