#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/common/temp_dir.h"
#include "tools/cli/cli_args.h"
#include "tools/cli/commands.h"

namespace kaimo::cli {
namespace {

class RecordCommand : public kaimo::testing::InTempDir {
 protected:
  static void writeFile(const std::string& name, const std::string& text) { std::ofstream(name) << text; }

  // Standard output of one run, and its exit status.
  static std::string run(int (*command)(const Words&, std::FILE*), const Words& words, int* status = nullptr) {
    std::FILE* f = std::tmpfile();
    const int result = command(words, f);
    if (status != nullptr) *status = result;
    std::string text(static_cast<std::size_t>(std::ftell(f)), '\0');
    std::rewind(f);
    EXPECT_EQ(std::fread(text.data(), 1, text.size(), f), text.size());
    std::fclose(f);
    return text;
  }
};

const std::string kEmptyRow = "..........\n";
const std::string kInitialLines =
    kEmptyRow + kEmptyRow + kEmptyRow + kEmptyRow + "....ox....\n....xo....\n" + kEmptyRow + kEmptyRow + kEmptyRow + kEmptyRow;
const std::string kAfterD5Lines =
    kEmptyRow + kEmptyRow + kEmptyRow + kEmptyRow + "...xxx....\n....xo....\n" + kEmptyRow + kEmptyRow + kEmptyRow + kEmptyRow;

TEST_F(RecordCommand, ShowPrintsEveryEntryWithItsBoard) {
  writeFile("game.txt", "d5");
  int status = -1;
  EXPECT_EQ(run(runRecord, {"show", "game.txt"}, &status),
            "0 black d5\n" + kInitialLines + "1 white -\n" + kAfterD5Lines);
  EXPECT_EQ(status, 0);
  writeFile("empty.txt", "");
  EXPECT_EQ(run(runRecord, {"show", "empty.txt"}, &status), "0 black -\n" + kInitialLines);
  EXPECT_EQ(status, 0);
}

TEST_F(RecordCommand, AFormatErrorPrintsWhatWasReadAndExitsOne) {
  writeFile("broken.txt", "d5 d 4");
  int status = -1;
  EXPECT_EQ(run(runRecord, {"show", "broken.txt"}, &status),
            "0 black d5\n" + kInitialLines + "1 white -\n" + kAfterD5Lines);
  EXPECT_EQ(status, 1);
}

TEST_F(RecordCommand, AFileThatCannotBeOpenedExitsTwoPrintingNothing) {
  int status = -1;
  EXPECT_EQ(run(runRecord, {"show", "missing.txt"}, &status), "");
  EXPECT_EQ(status, 2);
}

TEST_F(RecordCommand, WrongArgumentsAreUsageErrors) {
  writeFile("game.txt", "d5");
  for (const Words& words : {Words{}, Words{"show"}, Words{"list", "game.txt"}, Words{"show", "game.txt", "x"},
                             Words{"show", "game.txt", "--moves", "d5"}}) {
    EXPECT_THROW(run(runRecord, words), UsageError);
  }
}

TEST_F(RecordCommand, RecordPositionIsTheLastEntry) {
  // A pass-free opening and a record that ends with white set to move.
  writeFile("game.txt", "d5d4d3c3");
  EXPECT_EQ(run(runPerft, {"2", "--record", "game.txt"}), run(runPerft, {"2", "--moves", "d5d4d3c3"}));
  writeFile("white.txt", "T1");
  EXPECT_EQ(run(runPerft, {"1", "--record", "white.txt"}), "1 4\n");
  writeFile("broken.txt", "d5 x");
  EXPECT_THROW(run(runPerft, {"1", "--record", "broken.txt"}), UsageError);
  EXPECT_THROW(run(runPerft, {"1", "--record", "missing.txt"}), UsageError);
  EXPECT_THROW(run(runPerft, {"1", "--record", "game.txt", "--moves", "d5"}), UsageError);
  EXPECT_THROW(run(runPerft, {"1", "--record", "game.txt", "--side", "white"}), UsageError);
}

}  // namespace
}  // namespace kaimo::cli
