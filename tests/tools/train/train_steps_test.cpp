// The steps of kaimo-train run end to end on a few cheap games.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "engine/eval/data_sums.h"
#include "engine/eval/pattern_layout.h"
#include "engine/search/probcut.h"
#include "tests/common/file_size_limit.h"
#include "tests/common/temp_dir.h"
#include "tools/common/cli_args.h"
#include "tools/reference/pattern_sample_data.h"
#include "tools/train/chunks.h"
#include "tools/train/stage_outcome.h"
#include "tools/train/train_commands.h"
#include "tools/train/train_data.h"

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
  // Its checksum list names every data file it wrote, and the data are read with it.
  const std::string sums = readFile("d/kaimodata.sum");
  for (const char* file : {"fgtb081.kmx", "kaimogr21.dat", "kaimogr23.dat"}) {
    EXPECT_NE(sums.find(std::string("  ") + file + "\n"), std::string::npos) << file;
  }
  EXPECT_EQ(sums.find("kaimogr20.dat"), std::string::npos);

  // Every option that shapes the fit, twice: the same files.
  for (const char* dir : {"e", "f"}) {
    ASSERT_EQ(runFit(words({"--dir",       "g",   "--out",     dir, "--stages", "20-23", "--epochs",     "3",
                            "--bootstrap", "8",   "--holdout", "3", "--search", "0.5",   "--neighbours", "1",
                            "--decay",     "0.8", "--reflect", "1"}),
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

// The games of chunk 1 of a small run, the record of one of them damaged
// the three ways a chunk can hold other games than its name says.
TEST_F(TrainSteps, EveryStepRefusesAChunkOfOtherGamesAndGamesRemakesIt) {
  std::FILE* out = std::tmpfile();
  const tools::Words games = words({"--dir", "g", "--games", "4", "--chunk", "2", "--depth", "1", "--exact", "8"});
  ASSERT_EQ(runGames(games, out), 0);
  const std::string name = chunkFileName("g", "games", 1);
  const std::string whole = readFile(name);
  const std::size_t record = kChunkHeaderBytes + kRecordBytes;  // the second record
  const std::size_t gameField = record + 30;
  ASSERT_GT(whole.size(), record + kRecordBytes);
  std::string minusFive = whole, seven = whole, zeroed = whole;
  minusFive.replace(gameField, 4, std::string("\xfb\xff\xff\xff", 4));
  seven.replace(gameField, 4, std::string("\x07\0\0\0", 4));
  zeroed.replace(record, kRecordBytes, std::string(kRecordBytes, '\0'));
  for (const std::string* damaged : {&minusFive, &seven, &zeroed}) {
    writeFile(name, *damaged);
    EXPECT_EQ(runLabel(words({"--dir", "g", "--min", "8", "--max", "9", "--jobs", "1"}), out), 1);
    EXPECT_EQ(runFit(words({"--dir", "g", "--out", "d", "--stages", "23", "--epochs", "1", "--jobs", "1"}), out), 1);
    EXPECT_EQ(runAccuracy(words({"--dir", "g", "--data", "d"}), out), 1);
    ASSERT_EQ(runGames(games, out), 0);
    EXPECT_EQ(readFile(name), whole);
  }
  std::fclose(out);
}

// A folder without games is an error of one line; an empty file or folder
// name, which the system would take for the current folder, a wrong argument.
TEST_F(TrainSteps, MissingGamesAndEmptyNames) {
  std::FILE* out = std::tmpfile();
  std::filesystem::create_directory("empty");
  for (const char* dir : {"missing", "empty"}) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(runLabel(words({"--dir", dir}), out), 1) << dir;
    EXPECT_EQ(runFit(words({"--dir", dir, "--out", "d"}), out), 1) << dir;
    EXPECT_EQ(runAccuracy(words({"--dir", dir, "--data", "d"}), out), 1) << dir;
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 3) << errors;
  }
  EXPECT_FALSE(std::filesystem::exists("missing"));
  struct Wrong {
    int (*step)(const tools::Words&, std::FILE*);
    tools::Words args;
  };
  const Wrong wrongs[] = {
      {runGames, words({"--dir", "", "--games", "1"})},
      {runLabel, words({"--dir", ""})},
      {runFit, words({"--dir", "", "--out", "d"})},
      {runFit, words({"--dir", "g", "--out", ""})},
      {runFit, words({"--dir", "g,", "--out", "d"})},
      {runAccuracy, words({"--dir", "g", "--data", ""})},
      {runTables, words({"--out", ""})},
  };
  for (const Wrong& wrong : wrongs) EXPECT_THROW(wrong.step(wrong.args, out), tools::UsageError) << wrong.args[1];
  std::fclose(out);
}

// A stage that cannot be written (the disk is full) ends the fit there, in
// this process and in its workers: the system's reason on standard error,
// no part file left behind, no further stage fitted.
TEST_F(TrainSteps, AFitThatCannotWriteAStageStopsAtIt) {
  std::FILE* out = std::tmpfile();
  ASSERT_EQ(runGames(words({"--dir", "g", "--games", "4", "--chunk", "2", "--depth", "1", "--exact", "8"}), out), 0);
  const long stageBytes = stageFileBytes(inputSpace().layout.rowCount);
  struct Mode {
    tools::Words args;
    long failures;  // one per process
  };
  const Mode modes[] = {{words({"--bootstrap", "8"}), 1}, {words({"--jobs", "2"}), 2}};
  for (const Mode& mode : modes) {
    tools::Words fit = words({"--dir", "g", "--out", "d", "--stages", "19-23", "--epochs", "1"});
    fit.insert(fit.end(), mode.args.begin(), mode.args.end());
    ::testing::internal::CaptureStderr();
    int status = 0;
    {
      const kaimo::testing::FileSizeLimit fullDisk(static_cast<rlim_t>(stageBytes - 1));  // the index tables fit
      ASSERT_TRUE(fullDisk.active());
      status = runFit(fit, out);
    }
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 1);
    std::size_t failures = 0;
    for (std::size_t at = 0; (at = errors.find(std::strerror(EFBIG), at)) != std::string::npos; ++at) ++failures;
    EXPECT_EQ(failures, mode.failures) << errors;
    for (const auto& entry : std::filesystem::directory_iterator("d")) {  // the tables and their checksums
      if (entry.path().filename() != kDataSumsFileName) {
        EXPECT_EQ(entry.path().extension(), ".kmx") << entry.path();
      }
    }
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

// Every stage's end comes back as a value, from this process or a worker's
// pipe. A stage whose starting weights cannot be read is said once: the
// other workers' stages go on, a bootstrapped fit (whose earlier stages
// read this one) stops there.
TEST_F(TrainSteps, AStageThatCannotStartStopsOnlyABootstrappedFit) {
  for (const StageEnd end : {StageEnd::Fitted, StageEnd::Differs, StageEnd::NotStarted, StageEnd::Failed}) {
    const std::optional<StageOutcome> back = decodeOutcome(encodeOutcome({end, "stage 21: a\nb"}));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->end, end);
    EXPECT_EQ(back->text, "stage 21: a b");
  }
  EXPECT_FALSE(decodeOutcome("error: stage 21").has_value());
  EXPECT_FALSE(decodeOutcome("").has_value());

  std::FILE* out = std::tmpfile();
  ASSERT_EQ(runGames(words({"--dir", "g", "--games", "4", "--chunk", "2", "--depth", "1", "--exact", "8"}), out), 0);
  ASSERT_EQ(runFit(words({"--dir", "g", "--out", "d", "--stages", "21-23", "--epochs", "1"}), out), 0);
  std::filesystem::remove(std::filesystem::path("d") / stageFileName(22));
  struct Case {
    const char* out;
    tools::Words mode;
    std::vector<int> written;
  };
  const Case cases[] = {{"pool", words({"--jobs", "2"}), {21, 23}}, {"chain", words({"--bootstrap", "8"}), {23}}};
  for (const Case& c : cases) {
    tools::Words fit = words({"--dir", "g", "--out", c.out, "--stages", "21-23", "--epochs", "1", "--init", "d"});
    fit.insert(fit.end(), c.mode.begin(), c.mode.end());
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(runFit(fit, out), 1) << c.out;
    const std::string errors = ::testing::internal::GetCapturedStderr();
    std::size_t said = 0;
    for (std::size_t at = 0; (at = errors.find("stage 22: cannot read", at)) != std::string::npos; ++at) ++said;
    EXPECT_EQ(said, 1u) << c.out << ": " << errors;
    for (int stage = 21; stage <= 23; ++stage) {
      const bool wanted = std::find(c.written.begin(), c.written.end(), stage) != c.written.end();
      EXPECT_EQ(std::filesystem::exists(std::filesystem::path(c.out) / stageFileName(stage)), wanted)
          << c.out << " " << stage;
    }
  }
  std::fclose(out);
}

}  // namespace
}  // namespace kaimo::train
