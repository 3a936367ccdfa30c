#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/common/capture.h"
#include "tools/cli/commands.h"
#include "tools/common/cli_args.h"
#include "tools/train/train_commands.h"

namespace kaimo::cli {
namespace {

using kaimo::testing::captureCommand;
using namespace kaimo::tools;

const CommandSyntax& sampleSyntax() {
  static const CommandSyntax syntax{
      "prog",
      "cmd",
      "[X]",
      {textOption("--moves", "M", nullptr, "moves"), integerOption("--depth", "N", 6, 1, 24, "depth"),
       atLeast("--depth", integerOption("--max", "N", 30, 1, 40, "at least the depth")),
       numberOption("--rate", "X", 0.01, 1e-6, 10, "rate"), switchOption("--probcut", false, "switch"),
       pathOption("--dir", "DIR", "folder"), flagOption("--quick", "flag"), forEachColour(integerOption("--exact", "N", 13, 0, 32, "per colour"))}};
  return syntax;
}

TEST(CliArgs, ValuesAreCheckedAgainstTheirDeclarationWhenParsed) {
  struct Case {
    Words words;
    bool accepted;
  };
  const Case cases[] = {
      {{"--depth", "24"}, true},
      {{"--depth", "25"}, false},
      {{"--depth", "1"}, true},
      {{"--depth", "0"}, false},
      {{"--depth", "6x"}, false},
      {{"--depth", ""}, false},
      // --max starts at the depth, given or not (6 unless given).
      {{"--max", "6"}, true},
      {{"--max", "5"}, false},
      {{"--max", "5", "--depth", "5"}, true},
      {{"--rate", "10"}, true},
      {{"--rate", "10.5"}, false},
      {{"--rate", "0"}, false},
      {{"--probcut", "on"}, true},
      {{"--probcut", "1"}, false},
      // A flag takes no value: the word after it is the next one.
      {{"--quick"}, true},
      {{"--quick", "--depth", "3"}, true},
      {{"--quick", "--quick"}, false},
      // An empty name would mean the current folder.
      {{"--dir", "d"}, true},
      {{"--dir", ""}, false},
      {{"--black-exact", "32"}, true},
      {{"--white-exact", "33"}, false},
      {{"--black-depth", "3"}, false},
      {{"--bogus", "1"}, false},
      {{"--moves"}, false},
      {{"--moves", "a", "--moves", "b"}, false},
  };
  for (const Case& c : cases) {
    if (c.accepted) {
      EXPECT_NO_THROW(Args::parse(sampleSyntax(), c.words)) << c.words.front() << " " << c.words.back();
    } else {
      EXPECT_THROW(Args::parse(sampleSyntax(), c.words), UsageError) << c.words.front() << " " << c.words.back();
    }
  }
}

TEST(CliArgs, DefaultsAndOperands) {
  const Args none = Args::parse(sampleSyntax(), {"3", "--moves", "e4", "x"});
  EXPECT_EQ(none.positional, (std::vector<std::string>{"3", "x"}));
  EXPECT_EQ(none.get("--moves"), "e4");
  EXPECT_EQ(none.getInt("--depth"), 6);
  EXPECT_FALSE(none.givenInt("--depth").has_value());
  EXPECT_EQ(none.getNumber("--rate"), 0.01);
  EXPECT_FALSE(none.isOn("--probcut"));
  EXPECT_FALSE(none.isOn("--quick"));
  EXPECT_EQ(none.getPath("--dir"), "");
  EXPECT_EQ(none.getInt("--black-exact"), 13);
  const Args given = Args::parse(sampleSyntax(),
                                 {"--depth", "9", "--probcut", "on", "--quick", "5", "--rate", "0.5", "--black-exact", "4"});
  EXPECT_TRUE(given.isOn("--quick"));
  EXPECT_EQ(given.positional, (std::vector<std::string>{"5"}));
  EXPECT_EQ(given.getInt("--depth"), 9);
  EXPECT_TRUE(given.isOn("--probcut"));
  EXPECT_EQ(given.getNumber("--rate"), 0.5);
  EXPECT_EQ(given.getInt("--black-exact"), 4);
  EXPECT_EQ(given.getInt("--exact"), 13);
  // Reading an option that is not declared, or not as what it is, is the program's fault.
  EXPECT_THROW(none.getInt("--undeclared"), std::logic_error);
  EXPECT_THROW(none.get("--depth"), std::logic_error);
  EXPECT_EQ(parseInt("12", "n", 0, 20), 12);
  EXPECT_THROW(parseInt("99999999999999999999", "n", 0, 20), UsageError);
}

// Every subcommand of both programs: a value one past an end of its range
// is refused before the command runs, the ends themselves are taken, an
// unknown option is refused, a missing required one too, and the usage text
// names every option.
TEST(CliArgs, EveryDeclaredOptionOfBothPrograms) {
  for (const Program* program : {&kCliProgram, &train::kTrainProgram}) {
    for (const Subcommand& sub : program->subcommands) {
      const CommandSyntax& syntax = sub.syntax();
      SCOPED_TRACE(syntax.name);
      Words required;
      for (const OptionSyntax& option : syntax.options) {
        if (!option.required) continue;
        required.insert(required.end(), {option.name, "1"});  // a folder, a count, a routine
      }
      const auto withRequired = [&required](Words words) {
        words.insert(words.end(), required.begin(), required.end());
        return words;
      };
      EXPECT_THROW(Args::parse(syntax, withRequired({"--no-such-option", "1"})), UsageError);
      if (!required.empty()) {
        EXPECT_THROW(Args::parse(syntax, {}), UsageError);
      }
      const std::string help = testing::captureOutput([&syntax](std::FILE* out) { syntax.printHelp(out); }).output;
      for (const OptionSyntax& option : syntax.options) {
        SCOPED_TRACE(option.name);
        EXPECT_NE(help.find(std::string(option.name) + " " + option.value), std::string::npos);
        if (option.listed) {
          EXPECT_NE(syntax.synopsis().find(option.name), std::string::npos);
        }
        if (option.required) continue;
        if (option.kind == OptionKind::Integer) {
          const int high = static_cast<int>(option.high);
          EXPECT_EQ(Args::parse(syntax, withRequired({option.name, std::to_string(high)})).getInt(option.name), high);
          EXPECT_THROW(Args::parse(syntax, withRequired({option.name, std::to_string(high + 1LL)})), UsageError);
          if (option.lowFrom != nullptr) continue;
          const int low = static_cast<int>(option.low);
          EXPECT_EQ(Args::parse(syntax, withRequired({option.name, std::to_string(low)})).getInt(option.name), low);
          EXPECT_THROW(Args::parse(syntax, withRequired({option.name, std::to_string(low - 1LL)})), UsageError);
        }
        if (option.kind == OptionKind::Path) {
          EXPECT_THROW(Args::parse(syntax, withRequired({option.name, ""})), UsageError);
        }
        if (option.kind == OptionKind::Switch) {
          EXPECT_THROW(Args::parse(syntax, withRequired({option.name, "yes"})), UsageError);
        }
      }
    }
  }
}

// The README's list of subcommands is the usage kaimo-cli prints.
TEST(CliArgs, TheReadmeShowsEverySynopsis) {
  std::ifstream file(KAIMO_README_PATH);
  ASSERT_TRUE(file) << KAIMO_README_PATH;
  std::stringstream words;
  words << file.rdbuf();
  std::string readme;
  for (std::string word; words >> word;) readme += (readme.empty() ? "" : " ") + word;
  for (const Subcommand& sub : kCliProgram.subcommands) {
    const std::string synopsis = std::string("`") + kProgram + " " + sub.syntax().synopsis() + "`";
    EXPECT_NE(readme.find(synopsis), std::string::npos) << synopsis;
  }
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
