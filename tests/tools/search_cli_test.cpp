#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <thread>

#include <signal.h>
#include <unistd.h>

#include "engine/board/turn.h"

#include "tests/common/capture.h"
#include "tests/common/temp_dir.h"
#include "tools/cli/bench_suite.h"
#include "tools/cli/commands.h"
#include "tools/cli/position_args.h"
#include "tools/common/cli_args.h"
#include "tools/common/computer_turn.h"

namespace kaimo::cli {
namespace {

using kaimo::testing::captureCommand;
using kaimo::testing::Captured;

using SearchCommands = kaimo::testing::InTempDir;

// Black at c1 makes white pass and plays e1 as well: 6 discs to 1.
const std::string kPassBoard =
    "xo.o.x----\n----------\n----------\n----------\n----------\n"
    "----------\n----------\n----------\n----------\n---------o\n";

TEST_F(SearchCommands, SearchPrintsOneLineAboutTheMove) {
  const Captured search = captureCommand(runSearch, {"--moves", "e4d4", "--depth", "3"});
  const std::string& line = search.output;
  EXPECT_EQ(search.status, 0);
  char move[3] = {};
  double value = 0;
  int depth = 0;
  long long leaves = 0, msec = 0, rate = 0;
  ASSERT_EQ(std::sscanf(line.c_str(), "move %2s value %lf depth %d leaves %lld msec %lld kleaf/s %lld", move, &value,
                        &depth, &leaves, &msec, &rate),
            6)
      << line;
  char rebuilt[200];
  std::snprintf(rebuilt, sizeof rebuilt, "move %s value %+.2lf depth 3 leaves %lld msec %lld kleaf/s %lld\n", move,
                value, leaves, msec, rate);
  EXPECT_EQ(line, rebuilt);
  EXPECT_TRUE(move[0] >= 'a' && move[0] <= 'j' && move[1] >= '0' && move[1] <= '9') << line;
  EXPECT_GT(leaves, 0);
  writeFile("pass.txt", kPassBoard);
  EXPECT_TRUE(captureCommand(runSearch, {"--board", "pass.txt"}).output.starts_with("move c1 value +5.00 depth 2 "));
  EXPECT_TRUE(captureCommand(runSearch, {"--board", "pass.txt", "--side", "white"})
                  .output.starts_with("move none value none "));
  // Within the win-read depth only: the verdict, a win's value being a bound.
  EXPECT_TRUE(captureCommand(runSearch, {"--board", "pass.txt", "--depth", "1", "--exact", "0", "--win", "2"})
                  .output.starts_with("move c1 value win depth 2 "));
}

TEST_F(SearchCommands, SearchRefusesHumansAndUnknownRoutines) {
  EXPECT_THROW(captureCommand(runSearch, {"--routine", "人間"}), UsageError);
  EXPECT_THROW(captureCommand(runSearch, {"--routine", "0"}), UsageError);
  EXPECT_THROW(captureCommand(runSearch, {"--routine", "99"}), UsageError);
  EXPECT_THROW(captureCommand(runSearch, {"--routine", "cat"}), UsageError);
  EXPECT_THROW(captureCommand(runSearch, {"--depth", "0"}), UsageError);
  EXPECT_THROW(captureCommand(runSearch, {"extra"}), UsageError);
  EXPECT_EQ(captureCommand(runSearch, {"--routine", "1", "--depth", "1"}).status, 0);
  EXPECT_THROW(captureCommand(runSearch, {"--probcut", "on"}), UsageError);  // "狸" has no table
  EXPECT_THROW(captureCommand(runSearch, {"--routine", "狐", "--probcut", "1"}), UsageError);
  EXPECT_THROW(captureCommand(runSearch, {"--ms", "0"}), UsageError);
  EXPECT_THROW(captureCommand(runSearch, {"--threads", "0"}), UsageError);
  EXPECT_THROW(captureCommand(runSearch, {"--threads", "17"}), UsageError);
}

TEST_F(SearchCommands, SearchByTimeSaysTheDepthItReached) {
  for (const char* threads : {"1", "2"}) {
    const std::string line =
        captureCommand(runSearch, {"--moves", "e4d4", "--ms", "20", "--depth", "5", "--threads", threads}).output;
    int depth = 0;
    ASSERT_EQ(std::sscanf(line.c_str(), "move %*2s value %*f depth %d ", &depth), 1) << line;
    EXPECT_GE(depth, 1);
    EXPECT_LE(depth, 5);
  }
}

TEST_F(SearchCommands, AnalyzePrintsEveryLegalMoveAndRefusesFortyEmpties) {
  writeFile("pass.txt", kPassBoard);
  const Captured analysis = captureCommand(runAnalyze, {"--board", "pass.txt"});
  const std::string& text = analysis.output;
  EXPECT_EQ(analysis.status, 0);
  long long leaves = -1, msec = -1;
  ASSERT_EQ(std::sscanf(text.c_str(), "c1 +5\nleaves %lld msec %lld\n", &leaves, &msec), 2) << text;
  EXPECT_EQ(text, "c1 +5\nleaves " + std::to_string(leaves) + " msec " + std::to_string(msec) + "\n");
  const std::string verdicts = captureCommand(runAnalyze, {"--board", "pass.txt", "--wld"}).output;
  EXPECT_TRUE(verdicts.starts_with("c1 win\nleaves ")) << verdicts;
  // Black's only move flips a2: three discs each.
  writeFile("draw.txt", "x---------\no---------\n.---------\n----------\n----------\n"
                        "---------o\n----------\n---------o\n----------\n---------o\n");
  EXPECT_TRUE(captureCommand(runAnalyze, {"--board", "draw.txt", "--wld"}).output.starts_with("a3 draw\nleaves "));
  const Captured refused = captureCommand(runAnalyze, {});
  EXPECT_EQ(refused.output, "");  // the initial position has 96 empty squares
  EXPECT_EQ(refused.status, 2);
}

// A side that must pass, a full board, a board of walls: the window's
// refusal, status 1, and nothing on standard output.
TEST_F(SearchCommands, AnalyzeRefusesAPositionWithoutALegalMove) {
  const std::string full = std::string(50, 'x') + std::string(49, 'o') + "x";
  const std::string walls(100, '-');
  struct Case {
    std::string board;
    const char* side;
  };
  const Case cases[] = {{kPassBoard, "white"}, {full, "black"}, {walls, "white"}};
  for (const Case& c : cases) {
    writeFile("board.txt", c.board);
    ::testing::internal::CaptureStderr();
    const Captured refused = captureCommand(runAnalyze, {"--board", "board.txt", "--side", c.side});
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "打てる手がないので、終盤解析はできません。\n") << c.board;
    EXPECT_EQ(refused.status, 1) << c.board;
    EXPECT_EQ(refused.output, "") << c.board;
  }
}

// A position of 26 empty squares reached by always playing the first legal
// square: its analysis takes far longer than a signal needs to stop it.
Position longAnalysis() {
  Position position;
  position.side = boardInit(position.board);
  for (DiscCounts counts; boardCount(position.board, counts), counts[2] > 26;) {
    int square = 0;
    while (square < kSquareCount && boardIsLegal(position.board, square, position.side) == 0) ++square;
    if (square == kSquareCount) break;
    boardPlayInPlace(position.board, square, position.side);
    position.side = sideToMoveAfter(position.board, position.side);
  }
  return position;
}

// Ctrl+C and a termination request stop the analysis with the shell's
// status for each signal.
TEST_F(SearchCommands, AnalyzeStoppedBySignalSaysWhichOne) {
  const Position position = longAnalysis();
  DiscCounts counts;
  boardCount(position.board, counts);
  ASSERT_EQ(counts[2], 26);
  std::FILE* file = std::fopen("long.txt", "w");
  ASSERT_NE(file, nullptr);
  boardWriteText(position.board, file);
  std::fclose(file);
  const char* side = position.side == kBlack ? "black" : "white";
  for (const auto& [signal, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
    // Sent once the analysis has taken the signal over (before that it would end the test).
    std::jthread sender([signal = signal] {
      for (struct sigaction now{}; sigaction(signal, nullptr, &now) == 0 && now.sa_handler == SIG_DFL;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      ::kill(::getpid(), signal);
    });
    ::testing::internal::CaptureStderr();
    const Captured stopped = captureCommand(runAnalyze, {"--board", "long.txt", "--side", side});
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(stopped.status, status) << signal;
  }
}

TEST_F(SearchCommands, BenchRunsASuiteFileAndPrintsTotals) {
  std::string oneLine = kPassBoard;
  std::erase(oneLine, '\n');
  writeFile("suite.txt", "# one position\n\nexact x " + oneLine + "\n");
  const Captured bench = captureCommand(runBench, {"--suite", "suite.txt"});
  const std::string& text = bench.output;
  EXPECT_EQ(bench.status, 0);
  EXPECT_NE(text.find(" 1 exact   x depth  2 move c1   value   +5.00 leaves "), std::string::npos) << text;
  EXPECT_NE(text.find("\nmidgame  leaves            0 "), std::string::npos) << text;
  EXPECT_NE(text.find("\ntotal    leaves "), std::string::npos) << text;
  EXPECT_THROW(captureCommand(runBench, {"--suite", "missing.txt"}), UsageError);
}

TEST(BenchSuite, TheBuiltInSuiteIsTheSeededOne) {
  const auto positions = parseBenchSuite(builtInBenchSuite(), "built-in");
  int midgame = 0;
  int exactEmpties = 14;
  for (const auto& position : positions) {
    DiscCounts counts;
    boardCount(position.board, counts);
    EXPECT_GT(boardMobility(position.board, position.side), 0);
    if (position.kind == BenchKind::Midgame) {
      ++midgame;
    } else {
      EXPECT_EQ(counts[2], exactEmpties++);
    }
  }
  EXPECT_EQ(midgame, 6);
  EXPECT_EQ(exactEmpties, 21);
  EXPECT_EQ(builtInBenchSuite(), makeBenchSuite(5));
  EXPECT_NE(makeBenchSuite(6), makeBenchSuite(5));
}

TEST(BenchSuite, WrongLinesAreNamed) {
  const std::string board(100, '.');
  EXPECT_NO_THROW(parseBenchSuite("midgame o " + board + "\n", "s"));
  for (const std::string& bad : {"opening x " + board, "exact b " + board, "exact x " + board.substr(1),
                                 "exact x " + board.substr(1) + "?", "exact x " + board + " 7"}) {
    try {
      parseBenchSuite("# fine\n" + bad + "\n", "s");
      ADD_FAILURE() << bad;
    } catch (const UsageError& error) {
      EXPECT_TRUE(std::string(error.what()).starts_with("s line 2: ")) << error.what();
    }
  }
  EXPECT_THROW(parseBenchSuite("# nothing\n", "s"), UsageError);
}

// The search's signature: the leaves of the built-in suite's normal reads and
// of its reads to the end up to 18 empty squares (the two largest would take
// too long here). The search is deterministic, so any change of its
// behaviour changes this number; the commit that changes it says so, with
// the total that `kaimo-cli bench` prints ("bench: N").
TEST(BenchSuite, LeavesOfTheDeterministicPartArePinned) {
  constexpr std::int64_t kSignatureLeaves = 3739130;
  constexpr int kLargestEmpties = 18;
  std::int64_t leaves = 0;
  tools::TurnSearcher searcher;
  for (const auto& position : parseBenchSuite(builtInBenchSuite(), "built-in")) {
    DiscCounts counts;
    boardCount(position.board, counts);
    if (position.kind == BenchKind::Exact && counts[2] > kLargestEmpties) continue;
    leaves += searcher.play(position.board, position.side, benchSettings(position)).leaves;
  }
  EXPECT_EQ(leaves, kSignatureLeaves);
}

}  // namespace
}  // namespace kaimo::cli
