// The evaluation data shipped in data/ and unpacked where the program runs:
// this test runs in that folder, like the program, so the program's data of
// "狐" are these files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <vector>

#include "engine/book/opening_book.h"
#include "engine/eval/pattern_eval.h"
#include "engine/eval/routines.h"
#include "engine/eval/score.h"
#include "engine/search/probcut.h"
#include "tests/common/plain_board.h"
#include "tools/common/cli_args.h"
#include "tools/common/fox_data.h"
#include "tools/train/train_data.h"

namespace kaimo {
namespace {

int evaluateAsFox(const Board& board, int side) {
  DiscCounts counts;
  boardCount(board, counts);
  return routineEvaluator(routineIndexOf("狐")).evaluate(board, 0, side, counts);
}

TEST(ShippedData, TheIndexTablesLoadAndAnnounceTheRowCount) {
  std::FILE* announce = std::tmpfile();
  ASSERT_NE(announce, nullptr);
  const PatternData data("", announce);
  ASSERT_FALSE(data.failed());
  std::rewind(announce);
  char line[64] = {};
  ASSERT_NE(std::fgets(line, sizeof line, announce), nullptr);
  std::fclose(announce);
  const long rows = train::inputSpace().layout.rowCount;
  EXPECT_EQ(std::string(line), "jMax = " + std::to_string(rows) + "\n");
  EXPECT_EQ(data.rowCount(), rows);
  EXPECT_FALSE(defaultPatternData()->failed());
}

TEST(ShippedData, EveryStageFileHasTheLengthOfTheLayout) {
  const long bytes = stageFileBytes(train::inputSpace().layout.rowCount);
  for (int stage = stageOfEmpties(kPatternMaxEmpties); stage <= stageOfEmpties(1); ++stage) {
    const std::string name = stageFileName(stage);
    ASSERT_TRUE(std::filesystem::exists(name)) << name;
    EXPECT_EQ(static_cast<long>(std::filesystem::file_size(name)), bytes) << name;
  }
}

TEST(ShippedData, FoxEvaluatesAnOpeningWithItsNetwork) {
  // Fourteen plies leave 82 empty squares: past the simple evaluation of the
  // first moves, so the network of stage 3 answers.
  Board board;
  int side = boardInit(board);
  for (int ply = 0; ply < 14; ++ply) {
    std::vector<int> moves;
    for (int s = 0; s < kSquareCount; ++s) {
      if (boardIsLegal(board, s, side)) moves.push_back(s);
    }
    ASSERT_FALSE(moves.empty());
    boardPlayInPlace(board, moves[moves.size() / 2], side);
    side = opponentOf(side);
  }
  DiscCounts counts;
  boardCount(board, counts);
  ASSERT_EQ(counts[2], 82);
  const int score = evaluateAsFox(board, side);
  EXPECT_FALSE(isMarker(score));
  EXPECT_GT(score, -SCORE_WIPEOUT);
  EXPECT_LE(score, SCORE_WIPEOUT);
}

TEST(ShippedData, FoxEvaluatesEveryStageOfAGame) {
  std::mt19937 rng(21);
  std::set<int> stages;
  std::set<int> values;
  for (int game = 0; game < 4; ++game) {
    for (int plies = 12; plies < 100; plies += 3) {
      int side = 0;
      const Board board = plain::randomGame(rng, plies, &side);
      DiscCounts counts;
      boardCount(board, counts);
      if (counts[2] == 0 || counts[2] > kPatternMaxEmpties) continue;
      const int score = evaluateAsFox(board, side);
      ASSERT_FALSE(isMarker(score)) << "empties " << counts[2];
      EXPECT_GT(score, -SCORE_WIPEOUT);
      EXPECT_LE(score, SCORE_WIPEOUT);
      stages.insert(stageOfEmpties(counts[2]));
      values.insert(score);
    }
  }
  EXPECT_GE(stages.size(), 15u);
  // Weights that are all zero would score every position alike.
  EXPECT_GT(values.size(), stages.size());
}

// The ProbCut table is fitted to the deep reads of the searches: every
// stage predicts from shallower reads, and the deviations grow towards the
// end of the game, where a move changes the margin most.
TEST(ShippedData, TheProbCutTableLoadsBesideTheNetwork) {
  const auto table = probCutTableIn("");
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->firstDepth(), 3);
  EXPECT_GE(table->lastDepth(), 8);
  for (int depth = table->firstDepth(); depth <= table->lastDepth(); ++depth) {
    const ProbCutPair& late = table->at(table->stageOf(20), depth);
    const ProbCutPair& early = table->at(table->stageOf(70), depth);
    EXPECT_LT(late.shallow, depth);
    EXPECT_GT(late.deviation, early.deviation) << depth;
    EXPECT_NEAR(early.slope, 1.0, 0.3) << depth;
  }
}

// A match of two sets of data gives each side an evaluator of its own
// folder: the shipped folder's must score exactly as the program's "狐".
TEST(ShippedData, AnotherFolderOfDataScoresWithItsOwnFiles) {
  const Evaluator here = tools::foxEvaluatorFrom(std::filesystem::current_path());
  const Evaluator dot = tools::foxEvaluatorFrom(".");
  // One folder, however it is spelled, is read once.
  ASSERT_NE(here.probCutFolder(), nullptr);
  EXPECT_EQ(here.probCutFolder(), dot.probCutFolder());  // one folder's data, shared
  std::mt19937 rng(22);
  for (int plies = 14; plies < 96; plies += 9) {
    int side = 0;
    const Board board = plain::randomGame(rng, plies, &side);
    DiscCounts counts;
    boardCount(board, counts);
    EXPECT_EQ(here.evaluate(board, 0, side, counts), evaluateAsFox(board, side)) << plies;
  }
  EXPECT_THROW(tools::foxEvaluatorFrom(std::filesystem::temp_directory_path()), tools::UsageError);
}

// The book shipped in data/: it reads, the initial position is in play, and
// every position in play is worth its best move, as the trainer backed the
// values up; where the book ends, a position is worth its own game.
TEST(ShippedData, TheOpeningBookHoldsTheOpeningWithItsValuesBackedUp) {
  std::string fault;
  const auto book = loadOpeningBook(kBookFileName, fault);
  ASSERT_NE(book, nullptr) << fault;
  Board board;
  const int side = boardInit(board);
  EXPECT_FALSE(book->movesOf(board, side).empty());
  std::size_t inPlay = 0;
  for (const BookEntry& e : book->entries()) {
    const std::vector<BookMove> moves = book->movesOf(boardOfKey(e.key), kBlack);
    if (moves.empty()) {
      EXPECT_EQ(e.value, e.gameValue);
      continue;
    }
    ++inPlay;
    EXPECT_EQ(e.value, moves.front().value);
  }
  EXPECT_GT(inPlay, book->size() / 10);
}

}  // namespace
}  // namespace kaimo
