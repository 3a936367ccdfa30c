// Loading the index tables, the stage cache and the failures of "狐".
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <random>
#include <string>

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

  // Builds an evaluator here and keeps what it announced.
  std::unique_ptr<PatternEvaluator> load() {
    std::FILE* out = std::tmpfile();
    auto evaluator = std::make_unique<PatternEvaluator>(out);
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
  EXPECT_EQ(evaluator->rowCount(), expectedRows());
  EXPECT_EQ(evaluator->rowOffset(0), 6);
  EXPECT_EQ(evaluator->rowOffset(1), 6 + classCounts_[0]);
  EXPECT_EQ(evaluator->rowOffset(13), expectedRows() - 19683);
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

int evaluateWith(PatternEvaluator& e, const Board& b, int finalFlag = 0) {
  DiscCounts counts;
  boardCount(b, counts);
  return e.evaluate(b, finalFlag, kBlack, counts);
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
  EXPECT_EQ(readFile("errorlog.txt"), "ルーチン狐 : データファイルfgtb100.kmxのクラス数かクラス番号が正しくありません。\n");
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
  PatternEvaluator evaluator(announce, "data");
  std::fclose(announce);
  ASSERT_FALSE(evaluator.failed());
  EXPECT_EQ(evaluator.rowCount(), rows);
  EXPECT_FALSE(isMarker(evaluateWith(evaluator, withEmpties(60))));  // stage 9
  EXPECT_EQ(evaluateWith(evaluator, withEmpties(40)), SCORE_EVAL_ERROR);
  EXPECT_EQ(readFile("errorlog.txt"), "ルーチン狐: データファイル data/kaimogr14.dat が開けません。\n");
}

class StageCacheOrder : public PatternLoading {
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
    ASSERT_TRUE(testing::writeStage(s, testing::randomStage(evaluator_->rowCount(), s, 100, 1000)));
  }
  std::vector<int> slots() const {
    return {evaluator_->slotStage(0), evaluator_->slotStage(1), evaluator_->slotStage(2)};
  }
  std::unique_ptr<PatternEvaluator> evaluator_;
};

TEST_F(StageCacheOrder, FillsFromTheLastSlotAndReplacesTheLeastRecentlyUsed) {
  writeStages({3, 4, 5, 6});
  EXPECT_EQ(slots(), (std::vector<int>{-1, -1, -1}));
  for (int s : {3, 4, 5}) ASSERT_EQ(evaluator_->selectStage(s), 0);
  EXPECT_EQ(slots(), (std::vector<int>{5, 4, 3}));
  ASSERT_EQ(evaluator_->selectStage(6), 0);
  EXPECT_EQ(slots(), (std::vector<int>{5, 4, 6}));
  EXPECT_EQ(evaluator_->currentSlot(), 2);
  // Stage 3 was dropped: its file is read again, into the slot of stage 4.
  std::filesystem::remove(stageFileName(3));
  EXPECT_EQ(evaluator_->selectStage(3), -1);
  EXPECT_EQ(slots(), (std::vector<int>{5, 4, 6}));
  writeStage(3);
  ASSERT_EQ(evaluator_->selectStage(3), 0);
  EXPECT_EQ(slots(), (std::vector<int>{5, 3, 6}));
  EXPECT_EQ(evaluator_->currentSlot(), 1);
}

TEST_F(StageCacheOrder, TheSameStageTwiceReadsItsFileOnce) {
  writeStage(7);
  ASSERT_EQ(evaluator_->selectStage(7), 0);
  std::filesystem::remove(stageFileName(7));
  EXPECT_EQ(evaluator_->selectStage(7), 0);
  EXPECT_FALSE(std::filesystem::exists("errorlog.txt"));
}

TEST_F(StageCacheOrder, AnEvaluatorHoldingEveryStageReadsEachFileOnce) {
  PatternEvaluator every(nullptr, {}, kStageFileCount);
  const int first = stageOfEmpties(kPatternMaxEmpties);
  for (int s = first; s < first + kStageFileCount; ++s) writeStage(s);
  for (int s = first; s < first + kStageFileCount; ++s) ASSERT_EQ(every.selectStage(s), 0);
  for (int s = first; s < first + kStageFileCount; ++s) std::filesystem::remove(stageFileName(s));
  for (int s = first; s < first + kStageFileCount; ++s) EXPECT_EQ(every.selectStage(s), 0) << s;
  EXPECT_EQ(evaluator_->selectStage(first), -1);  // the files are gone: only what is held answers
}

TEST_F(StageCacheOrder, AMissingStageFailsOnlyItsPositionsAndLogsEveryAttempt) {
  writeStages({3, 9, 11, 23});  // 84, 57, 52 and 1 empty squares; 53..56 is stage 10
  const std::string line = "ルーチン狐: データファイル kaimogr10.dat が開けません。\n";
  for (int empties : {53, 56}) EXPECT_EQ(evaluateWith(*evaluator_, withEmpties(empties)), SCORE_EVAL_ERROR);
  EXPECT_EQ(readFile("errorlog.txt"), line + line);
  for (int empties : {52, 57, 84, 1}) EXPECT_FALSE(isMarker(evaluateWith(*evaluator_, withEmpties(empties))));
  EXPECT_EQ(readFile("errorlog.txt"), line + line);
}

TEST_F(StageCacheOrder, AShortStageFileNeverLendsAnotherStagesWeights) {
  writeStages({3, 4});
  const Board b = withEmpties(80);  // stage 4
  ASSERT_EQ(evaluator_->selectStage(3), 0);
  std::filesystem::resize_file("kaimogr04.dat", stageFileBytes(evaluator_->rowCount()) - 1);
  EXPECT_EQ(evaluateWith(*evaluator_, b), SCORE_EVAL_ERROR);
  EXPECT_EQ(evaluateWith(*evaluator_, b), SCORE_EVAL_ERROR);
  const std::string line = "ルーチン狐: データファイル kaimogr04.dat が途中で切れています。\n";
  EXPECT_EQ(readFile("errorlog.txt"), line + line);
  EXPECT_EQ(slots(), (std::vector<int>{-1, -1, 3}));
  writeStage(4);
  EXPECT_FALSE(isMarker(evaluateWith(*evaluator_, b)));
  EXPECT_EQ(slots(), (std::vector<int>{-1, 4, 3}));
}

TEST_F(StageCacheOrder, ThresholdsBetweenTheSimpleEvaluationAndTheNetwork) {
  // 85 empty squares: the simple evaluation, no stage needed.
  const Board opening = withEmpties(85);
  EXPECT_EQ(evaluateWith(*evaluator_, opening), simple(opening));
  EXPECT_FALSE(std::filesystem::exists("errorlog.txt"));
  // 84: the network of stage 3.
  EXPECT_EQ(evaluateWith(*evaluator_, withEmpties(84)), SCORE_EVAL_ERROR);
  EXPECT_EQ(readFile("errorlog.txt"), "ルーチン狐: データファイル kaimogr03.dat が開けません。\n");
}

TEST_F(StageCacheOrder, ReleasedStagesAreReadAgain) {
  writeStage(9);
  const Board b = withEmpties(60);
  const int value = evaluateWith(*evaluator_, b);
  ASSERT_FALSE(isMarker(value));
  evaluator_->releaseStages();
  EXPECT_EQ(slots(), (std::vector<int>{-1, -1, -1}));
  EXPECT_EQ(evaluateWith(*evaluator_, b), value);
}

}  // namespace
}  // namespace kaimo
