// The steps of kaimo-train run end to end on a few cheap games.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "engine/eval/pattern_layout.h"
#include "engine/search/probcut.h"
#include "tests/common/temp_dir.h"
#include "tools/common/cli_args.h"
#include "tools/train/train_commands.h"
#include "tools/train/train_data.h"
#include "tools/reference/pattern_sample_data.h"

namespace kaimo::train {
namespace {

using TrainSteps = kaimo::testing::InTempDir;

tools::Words words(std::initializer_list<const char*> list) { return {list.begin(), list.end()}; }

// Lines and their reverses: 3^L raw lines, 3^ceil(L/2) of them palindromes.
int expectedLineClasses(int length) { return (powerOfThree(length) + powerOfThree((length + 1) / 2)) / 2; }

TEST_F(TrainSteps, TablesHoldOneClassPerLineAndItsReverse) {
  std::FILE* out = std::tmpfile();
  ASSERT_EQ(runTables(words({"--out", "t"}), out), 0);
  std::fclose(out);
  for (int length = 4; length <= 10; ++length) {
    IndexTable table;
    ASSERT_EQ(readIndexTable(("t/" + indexTableFileName(length, 0)).c_str(), length, table), LayoutStatus::Ok);
    EXPECT_EQ(table.classCount, expectedLineClasses(length)) << length;
  }
  IndexTable edge;
  ASSERT_EQ(readIndexTable(("t/" + indexTableFileName(8, 1)).c_str(), 8, edge), LayoutStatus::Ok);
  EXPECT_EQ(edge.classCount, expectedLineClasses(8));
  // Edge entries read from the other corner carry the flag, the others not.
  const int raw = 1;  // white on the last square, black on all the others
  EXPECT_EQ(edge.entries[raw] & kMirroredFlag, 0);
  EXPECT_NE(edge.entries[reversedLineIndex(raw, 8)] & kMirroredFlag, 0);
}

TEST_F(TrainSteps, FitWritesStagesTheEvaluatorReadsBack) {
  std::FILE* out = std::tmpfile();
  ASSERT_EQ(runGames(words({"--dir", "g", "--games", "6", "--chunk", "3", "--depth", "1", "--exact", "8"}), out), 0);
  // The int16 check inside the fit makes it fail when the evaluator disagrees.
  ASSERT_EQ(runFit(words({"--dir", "g", "--out", "d", "--stages", "21-23", "--epochs", "2", "--bootstrap", "4",
                          "--holdout", "2"}),
                   out),
            0);
  const long bytes = stageFileBytes(inputSpace().layout.rowCount);
  for (int stage = 21; stage <= 23; ++stage) {
    const auto name = std::filesystem::path("d") / stageFileName(stage);
    ASSERT_TRUE(std::filesystem::exists(name));
    EXPECT_EQ(static_cast<long>(std::filesystem::file_size(name)), bytes);
  }
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path("d") / stageFileName(20)));
  EXPECT_TRUE(std::filesystem::exists(std::filesystem::path("d") / "fgtb081.kmx"));

  // Every option that shapes the fit, twice: the same files.
  for (const char* dir : {"e", "f"}) {
    ASSERT_EQ(runFit(words({"--dir", "g", "--out", dir, "--stages", "20-23", "--epochs", "3", "--bootstrap", "8",
                            "--holdout", "3", "--search", "0.5", "--neighbours", "1", "--decay", "0.8",
                            "--reflect", "1"}),
                     out),
              0);
  }
  for (int stage = 20; stage <= 23; ++stage) {
    EXPECT_EQ(readFile("e/" + stageFileName(stage)), readFile("f/" + stageFileName(stage))) << stage;
  }
  // Starting from an earlier fit needs each stage of it: "d" has no stage 20.
  for (const char* init : {"d", "e"}) {
    const std::string into = std::string("from-") + init;
    EXPECT_EQ(runFit(words({"--dir", "g", "--out", into.c_str(), "--stages", "20-23", "--epochs", "2", "--bootstrap",
                            "8", "--holdout", "3", "--init", init}),
                     out),
              init[0] == 'd' ? 1 : 0)
        << init;
  }
  std::fclose(out);
}

// The ProbCut step on the searches of a "狐" of random weights: a table the
// engine reads, the same from a run resumed after damage and from two shards.
TEST_F(TrainSteps, ProbCutFitsATableTheSameWayHoweverTheRunIsSplit) {
  const long rows = testing::rowCountOfWrittenTables();
  for (int stage = 19; stage <= 21; ++stage) {  // 11 to 18 empty squares
    ASSERT_TRUE(testing::writeStage(stage, testing::randomStage(rows, stage, 3000, 20000)));
  }
  std::FILE* out = std::tmpfile();
  ASSERT_EQ(runGames(words({"--dir", "g", "--games", "6", "--chunk", "3", "--depth", "1", "--exact", "8"}), out), 0);
  std::filesystem::create_directory("h");
  for (const char* file : {"games.cfg", "games-00000.kpos", "games-00001.kpos"}) {
    std::filesystem::copy_file(std::string("g/") + file, std::string("h/") + file);
  }
  const auto probcut = [&](const char* dir, const char* shard) {
    return runProbCut(words({"--dir", dir, "--out", dir, "--data", ".", "--depth", "3", "--min", "14", "--max", "18",
                             "--per-game", "2", "--jobs", "1", "--shard", shard}),
                      out);
  };
  ASSERT_EQ(probcut("g", "0/1"), 0);
  const std::string table = readFile("g/probcut.dat");
  std::string fault;
  const auto read = parseProbCutFile(table, fault);
  ASSERT_TRUE(read) << fault;
  EXPECT_EQ(read->firstDepth(), 3);
  EXPECT_EQ(read->lastDepth(), 3);
  EXPECT_EQ(read->at(read->stageOf(16), 3).shallow, 1);

  ASSERT_EQ(probcut("h", "0/2"), 0);
  EXPECT_FALSE(std::filesystem::exists("h/probcut.dat"));  // the other shard's samples are missing
  ASSERT_EQ(probcut("h", "1/2"), 0);
  EXPECT_EQ(readFile("h/probcut.dat"), table);
  writeFile("h/probcut-00001.kpcs", readFile("h/probcut-00001.kpcs").substr(5));
  std::filesystem::remove("h/probcut.dat");
  ASSERT_EQ(probcut("h", "0/1"), 0);
  EXPECT_EQ(readFile("h/probcut.dat"), table);
  EXPECT_EQ(probcut("h", "0/1"), 0);  // nothing left to sample: the fit again
  EXPECT_EQ(runProbCut(words({"--dir", "h", "--out", "h", "--data", ".", "--depth", "4"}), out), 2);  // other settings
  std::fclose(out);
}

TEST_F(TrainSteps, FitRefusesABootstrapThatWouldReadItsOwnStage) {
  std::FILE* out = std::tmpfile();
  EXPECT_THROW(runFit(words({"--dir", "g", "--out", "d", "--bootstrap", "2"}), out), tools::UsageError);
  std::fclose(out);
}

}  // namespace
}  // namespace kaimo::train
