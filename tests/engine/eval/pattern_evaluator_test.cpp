// Loading the index tables and the stage weights of "狐", and its failures.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <random>
#include <string>

#include "engine/eval/data_sums.h"
#include "engine/eval/eval_simple.h"
#include "engine/eval/pattern_evaluator.h"
#include "engine/eval/score.h"
#include "tests/common/plain_board.h"
#include "tests/common/temp_dir.h"
#include "tools/reference/pattern_sample_data.h"

namespace kaimo {
namespace {

class PatternLoading : public testing::InTempDir {
 protected:
  void SetUp() override {
    InTempDir::SetUp();
    classCounts_ = testing::writeIndexTables();
  }

  // Reads the data here and keeps what they announced.
  std::unique_ptr<PatternEvaluator> load() {
    std::FILE* out = std::tmpfile();
    auto evaluator = std::make_unique<PatternEvaluator>(std::make_shared<const PatternData>("", out));
    std::rewind(out);
    char line[64] = {};
    announced_ = std::fgets(line, sizeof line, out) ? line : "";
    std::fclose(out);
    return evaluator;
  }

  long expectedRows() const {
    // The features' six rows, K per line, K * 81 for the edge, 3^10 and 3^9
    // for the corner blocks.
    long rows = 6;
    for (int p = 0; p <= 10; ++p) rows += classCounts_[p];
    return rows + classCounts_[11] * 81L + 59049 + 19683;
  }

  std::array<std::int32_t, kPatternCount> classCounts_{};
  std::string announced_;
};

TEST_F(PatternLoading, AnnouncesTheRowCountOfItsTables) {
  auto evaluator = load();
  ASSERT_FALSE(evaluator->failed());
  EXPECT_EQ(announced_, "jMax = " + std::to_string(expectedRows()) + "\n");
  const PatternData& data = evaluator->data();
  EXPECT_EQ(data.rowCount(), expectedRows());
  EXPECT_EQ(data.rowOffset(0), 6);
  EXPECT_EQ(data.rowOffset(1), 6 + classCounts_[0]);
  EXPECT_EQ(data.rowOffset(13), expectedRows() - 19683);
  EXPECT_FALSE(std::filesystem::exists("errorlog.txt"));
}

// A position with the given number of empty squares, black to move.
Board withEmpties(int empties) {
  std::mt19937 rng(static_cast<unsigned>(empties));
  Board b;
  for (;;) {
    b = plain::randomGame(rng, 96 - empties);
    DiscCounts counts;
    plain::count(b, counts);
    if (counts[2] == empties) return b;
  }
}

int evaluateWith(const PatternEvaluator& e, const Board& b, int scoreAsFinished = 0) {
  DiscCounts counts;
  boardCount(b, counts);
  return e.evaluate(b, scoreAsFinished, kBlack, counts);
}

int simple(const Board& b) {
  DiscCounts counts;
  boardCount(b, counts);
  return evalSimple(b, 0, kBlack, counts);
}

TEST_F(PatternLoading, AMissingEdgeTableFailsEveryNetworkEvaluation) {
  std::filesystem::remove("fgtb081.kmx");
  auto evaluator = load();
  EXPECT_TRUE(evaluator->failed());
  EXPECT_EQ(announced_, "");
  EXPECT_EQ(readFile("errorlog.txt"), "ルーチン狐 : データファイルfgtb081.kmxが開けません。\n");
  for (int empties : {84, 40, 1}) EXPECT_EQ(evaluateWith(*evaluator, withEmpties(empties)), SCORE_EVAL_ERROR);
  // The simple evaluation keeps working, also as the opening fall-back, and
  // finished positions are scored by their discs.
  const Board opening = withEmpties(85);
  EXPECT_EQ(evaluateWith(*evaluator, opening), simple(opening));
  EXPECT_FALSE(isMarker(simple(withEmpties(40))));
  Board full;
  full.fill(kWhite);
  for (int s = 0; s < 30; ++s) full[s] = kBlack;
  EXPECT_EQ(evaluateWith(*evaluator, full), scoreFinal(30, 70));
  const Board midgame = withEmpties(40);
  DiscCounts counts;
  boardCount(midgame, counts);
  EXPECT_EQ(evaluateWith(*evaluator, midgame, 1), scoreFinal(counts[0], counts[1]));
  // Nothing more is logged after the start.
  EXPECT_EQ(readFile("errorlog.txt"), "ルーチン狐 : データファイルfgtb081.kmxが開けません。\n");
}

TEST_F(PatternLoading, BrokenTablesAreRefusedByName) {
  std::filesystem::resize_file("fgtb060.kmx", std::filesystem::file_size("fgtb060.kmx") - 2);
  EXPECT_TRUE(load()->failed());
  EXPECT_EQ(readFile("errorlog.txt"), "ルーチン狐 : データファイルfgtb060.kmxが途中で切れています。\n");
  testing::writeIndexTables();

  IndexTable lines = buildLineClasses(10, false);
  lines.classCount -= 1;  // its last class would index the next pattern's rows
  ASSERT_TRUE(writeIndexTable("fgtb100.kmx", lines));
  std::filesystem::remove("errorlog.txt");
  EXPECT_TRUE(load()->failed());
  EXPECT_EQ(announced_, "");
  EXPECT_EQ(readFile("errorlog.txt"),
            "ルーチン狐 : データファイルfgtb100.kmxのクラス数かクラス番号が正しくありません。\n");
}

TEST_F(PatternLoading, ReadsTablesAndStagesFromItsDataFolder) {
  const long rows = expectedRows();
  ASSERT_TRUE(testing::writeStage(9, testing::randomStage(rows, 9, 100, 1000)));
  std::filesystem::create_directory("data");
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    if (entry.is_regular_file()) std::filesystem::rename(entry.path(), "data" / entry.path().filename());
  }
  EXPECT_TRUE(load()->failed());  // nothing left in the current folder
  std::filesystem::remove("errorlog.txt");
  std::FILE* announce = std::tmpfile();
  const PatternEvaluator evaluator(std::make_shared<const PatternData>("data", announce));
  std::fclose(announce);
  ASSERT_FALSE(evaluator.failed());
  EXPECT_EQ(evaluator.data().rowCount(), rows);
  EXPECT_FALSE(isMarker(evaluateWith(evaluator, withEmpties(60))));  // stage 9
  EXPECT_EQ(evaluateWith(evaluator, withEmpties(40)), SCORE_EVAL_ERROR);
  EXPECT_EQ(readFile("errorlog.txt"), "ルーチン狐: データファイル data/kaimogr14.dat が開けません。\n");
}

// With the folder's checksum list, one flipped bit in a table or a stage
// file (even where the reader looks at nothing) makes it refused like a
// damaged file; a folder without the list reads it.
TEST_F(PatternLoading, TheChecksumListRefusesAFlippedBit) {
  const auto writeData = [this] {
    testing::writeIndexTables();
    return testing::writeStage(3, testing::randomStage(expectedRows(), 3, 100, 1000));
  };
  ASSERT_TRUE(writeData());
  std::string failedFile;
  ASSERT_EQ(writeDataSums("", failedFile), 0) << failedFile;
  const std::string list = readFile(kDataSumsFileName);
  struct Case {
    const char* file;  // the file with a flipped bit, if any
    long offset;       // from its end when negative
    bool withList;
    bool read;
  };
  const Case cases[] = {
      {nullptr, 0, true, true},           {"kaimogr03.dat", -1, true, false}, {"fgtb081.kmx", 0, true, false},
      {"kaimogr03.dat", -1, false, true}, {"fgtb081.kmx", 0, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file ? c.file : "intact") + (c.withList ? " with the list" : " without it"));
    ASSERT_TRUE(writeData());
    std::filesystem::remove(kDataSumsFileName);
    if (c.withList) writeFile(kDataSumsFileName, list);
    if (c.file != nullptr) {
      std::string bytes = readFile(c.file);
      const std::size_t at = c.offset < 0 ? bytes.size() + c.offset : static_cast<std::size_t>(c.offset);
      bytes[at] = static_cast<char>(bytes[at] ^ 0x40);
      writeFile(c.file, bytes);
    }
    std::filesystem::remove("errorlog.txt");
    const auto evaluator = load();
    const int value = evaluator->failed() ? SCORE_EVAL_ERROR : evaluateWith(*evaluator, withEmpties(84));
    EXPECT_EQ(value != SCORE_EVAL_ERROR, c.read);
    EXPECT_EQ(std::filesystem::exists("errorlog.txt"), !c.read);
  }
}

class StageReading : public PatternLoading {
 protected:
  void SetUp() override {
    PatternLoading::SetUp();
    evaluator_ = load();
    ASSERT_FALSE(evaluator_->failed());
  }
  void writeStages(std::initializer_list<int> stages) {
    for (int s : stages) writeStage(s);
  }
  void writeStage(int s) {
    // A small spread keeps the weights cheap to tell apart by their values.
    ASSERT_TRUE(testing::writeStage(s, testing::randomStage(evaluator_->data().rowCount(), s, 100, 1000)));
  }
  std::unique_ptr<PatternEvaluator> evaluator_;
};

TEST_F(StageReading, EveryStageIsReadOnceAndKept) {
  for (int s = kFirstStageFile; s < kFirstStageFile + kStageFileCount; ++s) writeStage(s);
  std::vector<int> values;
  for (int empties = kPatternMaxEmpties; empties >= 1; --empties) {
    values.push_back(evaluateWith(*evaluator_, withEmpties(empties)));
    ASSERT_FALSE(isMarker(values.back())) << empties;
  }
  for (int s = kFirstStageFile; s < kFirstStageFile + kStageFileCount; ++s) std::filesystem::remove(stageFileName(s));
  for (int empties = kPatternMaxEmpties; empties >= 1; --empties) {
    EXPECT_EQ(evaluateWith(*evaluator_, withEmpties(empties)), values[kPatternMaxEmpties - empties]) << empties;
  }
  EXPECT_FALSE(std::filesystem::exists("errorlog.txt"));
  // Other data of the same folder read the files again: they are gone.
  EXPECT_EQ(evaluateWith(*load(), withEmpties(40)), SCORE_EVAL_ERROR);
}

TEST_F(StageReading, AMissingStageFailsOnlyItsPositionsAndLogsEveryAttempt) {
  writeStages({3, 9, 11, 23});  // 84, 57, 52 and 1 empty squares; 53..56 is stage 10
  const std::string line = "ルーチン狐: データファイル kaimogr10.dat が開けません。\n";
  for (int empties : {53, 56}) EXPECT_EQ(evaluateWith(*evaluator_, withEmpties(empties)), SCORE_EVAL_ERROR);
  EXPECT_EQ(readFile("errorlog.txt"), line + line);
  for (int empties : {52, 57, 84, 1}) EXPECT_FALSE(isMarker(evaluateWith(*evaluator_, withEmpties(empties))));
  EXPECT_EQ(readFile("errorlog.txt"), line + line);
}

TEST_F(StageReading, AShortStageFileNeverLendsAnotherStagesWeights) {
  writeStages({3, 4});
  const Board b = withEmpties(80);                                     // stage 4
  ASSERT_FALSE(isMarker(evaluateWith(*evaluator_, withEmpties(84))));  // stage 3 is held
  std::filesystem::resize_file("kaimogr04.dat", stageFileBytes(evaluator_->data().rowCount()) - 1);
  EXPECT_EQ(evaluateWith(*evaluator_, b), SCORE_EVAL_ERROR);
  EXPECT_EQ(evaluateWith(*evaluator_, b), SCORE_EVAL_ERROR);
  const std::string line = "ルーチン狐: データファイル kaimogr04.dat が途中で切れています。\n";
  EXPECT_EQ(readFile("errorlog.txt"), line + line);
  writeStage(4);
  EXPECT_FALSE(isMarker(evaluateWith(*evaluator_, b)));
}

TEST_F(StageReading, ThresholdsBetweenTheSimpleEvaluationAndTheNetwork) {
  // 85 empty squares: the simple evaluation, no stage needed.
  const Board opening = withEmpties(85);
  EXPECT_EQ(evaluateWith(*evaluator_, opening), simple(opening));
  EXPECT_FALSE(std::filesystem::exists("errorlog.txt"));
  // 84: the network of stage 3.
  EXPECT_EQ(evaluateWith(*evaluator_, withEmpties(84)), SCORE_EVAL_ERROR);
  EXPECT_EQ(readFile("errorlog.txt"), "ルーチン狐: データファイル kaimogr03.dat が開けません。\n");
}

}  // namespace
}  // namespace kaimo
