#include <gtest/gtest.h>

#include <string>

#include "app/records/record_limits.h"
#include "tests/common/capture.h"
#include "tests/common/temp_dir.h"
#include "tools/cli/commands.h"
#include "tools/common/cli_args.h"

namespace kaimo::cli {
namespace {

using kaimo::testing::captureCommand;
using kaimo::testing::Captured;

using RecordCommand = kaimo::testing::InTempDir;

const std::string kEmptyRow = "..........\n";
const std::string kInitialLines = kEmptyRow + kEmptyRow + kEmptyRow + kEmptyRow + "....ox....\n....xo....\n" +
                                  kEmptyRow + kEmptyRow + kEmptyRow + kEmptyRow;
const std::string kAfterD5Lines = kEmptyRow + kEmptyRow + kEmptyRow + kEmptyRow + "...xxx....\n....xo....\n" +
                                  kEmptyRow + kEmptyRow + kEmptyRow + kEmptyRow;
// What `show` prints for the record "d5".
const std::string kD5Listing = "0 black d5\n" + kInitialLines + "1 white -\n" + kAfterD5Lines;

TEST_F(RecordCommand, ShowPrintsEveryEntryWithItsBoard) {
  writeFile("game.txt", "d5");
  const Captured game = captureCommand(runRecord, {"show", "game.txt"});
  EXPECT_EQ(game.output, kD5Listing);
  EXPECT_EQ(game.status, 0);
  writeFile("empty.txt", "");
  const Captured empty = captureCommand(runRecord, {"show", "empty.txt"});
  EXPECT_EQ(empty.output, "0 black -\n" + kInitialLines);
  EXPECT_EQ(empty.status, 0);
}

// The file is read as a paste into the window is: a move list reads too.
TEST_F(RecordCommand, AMoveListReadsAsItsRecord) {
  writeFile("list.txt", "1. D5\n");
  const Captured list = captureCommand(runRecord, {"show", "list.txt"});
  EXPECT_EQ(list.output, kD5Listing);
  EXPECT_EQ(list.status, 0);
}

TEST_F(RecordCommand, AFormatErrorPrintsWhatWasReadAndExitsOne) {
  writeFile("broken.txt", "d5 d 4");
  const Captured broken = captureCommand(runRecord, {"show", "broken.txt"});
  EXPECT_EQ(broken.output, kD5Listing);
  EXPECT_EQ(broken.status, 1);
  writeFile("huge.txt", std::string(kMaxRecordTextBytes + 1, ' '));
  const Captured huge = captureCommand(runRecord, {"show", "huge.txt"});
  EXPECT_EQ(huge.output, "");
  EXPECT_EQ(huge.status, 1);
}

TEST_F(RecordCommand, AFileThatCannotBeOpenedExitsTwoPrintingNothing) {
  const Captured missing = captureCommand(runRecord, {"show", "missing.txt"});
  EXPECT_EQ(missing.output, "");
  EXPECT_EQ(missing.status, 2);
}

TEST_F(RecordCommand, WrongArgumentsAreUsageErrors) {
  writeFile("game.txt", "d5");
  for (const Words& words : {Words{}, Words{"show"}, Words{"list", "game.txt"}, Words{"show", "game.txt", "x"},
                             Words{"show", "game.txt", "--moves", "d5"}}) {
    EXPECT_THROW(captureCommand(runRecord, words), UsageError);
  }
}

TEST_F(RecordCommand, RecordPositionIsTheLastEntry) {
  // A pass-free opening and a record that ends with white set to move.
  writeFile("game.txt", "d5d4d3c3");
  EXPECT_EQ(captureCommand(runPerft, {"2", "--record", "game.txt"}).output,
            captureCommand(runPerft, {"2", "--moves", "d5d4d3c3"}).output);
  writeFile("white.txt", "T1");
  EXPECT_EQ(captureCommand(runPerft, {"1", "--record", "white.txt"}).output, "1 4\n");
  writeFile("broken.txt", "d5 x");
  EXPECT_THROW(captureCommand(runPerft, {"1", "--record", "broken.txt"}), UsageError);
  EXPECT_THROW(captureCommand(runPerft, {"1", "--record", "missing.txt"}), UsageError);
  EXPECT_THROW(captureCommand(runPerft, {"1", "--record", "game.txt", "--moves", "d5"}), UsageError);
  EXPECT_THROW(captureCommand(runPerft, {"1", "--record", "game.txt", "--side", "white"}), UsageError);
}

}  // namespace
}  // namespace kaimo::cli
