#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "engine/eval/pattern_evaluator.h"
#include "tests/common/plain_board.h"
#include "tests/common/temp_dir.h"
#include "tools/common/cli_args.h"
#include "tools/train/chunks.h"
#include "tools/train/self_play.h"
#include "tools/train/train_commands.h"

namespace kaimo::train {
namespace {

// Cheap games: shallow searches, exact reads only over the last squares.
SelfPlaySettings quickSettings() {
  SelfPlaySettings s;
  s.depth = 1;
  s.exactDepth = 8;
  return s;
}

// The final margin (black - white) with best play by both sides, by plain
// negamax on the reference board.
int plainSolve(const Board& board, int side, int passes = 0) {
  DiscCounts counts;
  plain::count(board, counts);
  if (passes == 2 || counts[2] == 0) return counts[0] - counts[1];
  int best = side == kBlack ? -1000 : 1000;
  bool moved = false;
  for (int s = 0; s < kSquareCount; ++s) {
    Board child;
    if (plain::play(board, child, s, side) <= 1) continue;
    moved = true;
    const int value = plainSolve(child, 1 - side, 0);
    best = side == kBlack ? std::max(best, value) : std::min(best, value);
  }
  return moved ? best : plainSolve(board, 1 - side, passes + 1);
}

TEST(SelfPlay, TheSameSeedAndGamePlayTheSameGame) {
  bool failed = true;
  tools::TurnSearcher searcher, fresh;  // the table a game left behind changes nothing
  const auto a = playTrainingGame(3, 17, quickSettings(), searcher, failed);
  ASSERT_FALSE(failed);
  const auto c = playTrainingGame(3, 18, quickSettings(), searcher, failed);
  const auto b = playTrainingGame(3, 17, quickSettings(), searcher, failed);
  const auto again = playTrainingGame(3, 17, quickSettings(), fresh, failed);
  ASSERT_EQ(again.size(), b.size());
  for (std::size_t i = 0; i < b.size(); ++i) EXPECT_EQ(again[i].searchValue, b[i].searchValue);
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].board, b[i].board);
  bool differs = a.size() != c.size();
  for (std::size_t i = 0; !differs && i < a.size(); ++i) differs = a[i].board != c[i].board;
  EXPECT_TRUE(differs);
}

TEST(SelfPlay, KeepsOnlyPositionsTheNetworkScoresAndLabelsTheEndExactly) {
  bool failed = true;
  tools::TurnSearcher searcher;
  const auto positions = playTrainingGame(9, 2, quickSettings(), searcher, failed);
  ASSERT_FALSE(failed);
  ASSERT_FALSE(positions.empty());
  for (const auto& p : positions) {
    const int empties = emptiesOf(p.board);
    EXPECT_GE(empties, 1);
    EXPECT_LE(empties, kPatternMaxEmpties);
    EXPECT_GT(plain::mobility(p.board, p.side), 0);
    EXPECT_EQ(p.game, 2);
    EXPECT_EQ(p.kind == LabelKind::Played, empties <= quickSettings().exactDepth);
    // From the exact reads on, both sides played perfectly: every later
    // position's best result is the game's result.
    if (p.kind == LabelKind::Played && empties <= 6) {
      EXPECT_EQ(plainSolve(p.board, p.side), p.margin);
    }
    // Every position carries its player's search value, exact where the read was.
    EXPECT_NE(p.searchValue, kNoSearchValue);
    if (p.kind == LabelKind::Played) {
      EXPECT_EQ(p.searchValue, 100 * p.margin);
    }
  }
}

using GamesStep = kaimo::testing::InTempDir;

std::vector<std::string> args(std::initializer_list<const char*> words) { return {words.begin(), words.end()}; }

// A run stopped at any point, with its files damaged or holding another
// chunk's games, resumes to exactly the files of a run never stopped; whole
// chunks are left alone.
TEST_F(GamesStep, ResumingRemakesMissingAndDamagedChunksByteForByte) {
  std::FILE* out = std::tmpfile();
  const auto words =
      args({"--dir", "g", "--games", "12", "--chunk", "2", "--jobs", "2", "--depth", "1", "--exact", "6"});
  ASSERT_EQ(runGames(words, out), 0);
  std::vector<std::string> whole;
  for (int chunk = 0; chunk < 6; ++chunk) whole.push_back(readFile(chunkFileName("g", "games", chunk)));
  const auto untouched = std::filesystem::last_write_time(chunkFileName("g", "games", 0));
  std::vector<TrainingPosition> first, mixed;
  std::string error;
  ASSERT_TRUE(readChunk(chunkFileName("g", "games", 0), first, error)) << error;
  ASSERT_TRUE(readChunk(chunkFileName("g", "games", 5), mixed, error)) << error;
  for (const TrainingPosition& p : first) {
    if (p.game == 0) mixed.push_back(p);
  }

  std::filesystem::remove(chunkFileName("g", "games", 1));
  writeFile(chunkFileName("g", "games", 2), whole[2].substr(0, whole[2].size() - kRecordBytes));
  writeFile(chunkFileName("g", "games", 3), "");
  writeFile(chunkFileName("g", "games", 1) + ".tmp-999-0", whole[0]);  // a stopped write
  // Valid chunks of the wrong games: games 10 and 11, and games 10, 11 and 0.
  writeFile(chunkFileName("g", "games", 4), whole[5]);
  ASSERT_TRUE(writeChunk(chunkFileName("g", "games", 5), mixed, error)) << error;
  ASSERT_EQ(runGames(words, out), 0);
  for (int chunk = 0; chunk < 6; ++chunk) {
    EXPECT_TRUE(readFile(chunkFileName("g", "games", chunk)) == whole[chunk]) << chunk;
  }
  EXPECT_EQ(std::filesystem::last_write_time(chunkFileName("g", "games", 0)), untouched);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("g"), std::filesystem::directory_iterator()), 7);
  std::fclose(out);
}

// Two machines each given one shard and nothing else make, between them,
// exactly the files of one unsplit run: games first, then the reads of the
// games each shard holds.
TEST_F(GamesStep, ShardsTogetherMakeTheFilesOfOneRun) {
  std::FILE* out = std::tmpfile();
  const auto games = [](const char* dir, const char* shard) {
    return args({"--dir", dir, "--games", "6", "--chunk", "2", "--jobs", "1", "--depth", "1", "--exact", "6", "--shard",
                 shard});
  };
  const auto label = [](const char* dir, const char* shard) {
    return args({"--dir", dir, "--min", "8", "--max", "10", "--jobs", "1", "--shard", shard});
  };
  for (const char* dir : {"all", "a", "b"}) {
    const char* shard = dir[0] == 'a' ? (dir[1] ? "0/1" : "0/2") : "1/2";
    ASSERT_EQ(runGames(games(dir, shard), out), 0) << dir;
    ASSERT_EQ(runLabel(label(dir, shard), out), 0) << dir;
  }
  for (const char* prefix : {"games", "solved"}) {
    for (int chunk = 0; chunk < 3; ++chunk) {
      const char* mine = chunk % 2 == 0 ? "a" : "b";
      const char* other = chunk % 2 == 0 ? "b" : "a";
      EXPECT_EQ(readFile(chunkFileName(mine, prefix, chunk)), readFile(chunkFileName("all", prefix, chunk)));
      EXPECT_FALSE(std::filesystem::exists(chunkFileName(other, prefix, chunk))) << prefix << chunk;
    }
  }
  EXPECT_EQ(readFile("a/games.cfg"), readFile("b/games.cfg"));
  for (const char* wrong : {"2/2", "-1/2", "0/0", "1", "0/x"}) {
    EXPECT_THROW(runGames(games("c", wrong), out), tools::UsageError) << wrong;
  }
  std::fclose(out);
}

TEST_F(GamesStep, RefusesToMixGamesOfOtherSettings) {
  std::FILE* out = std::tmpfile();
  ASSERT_EQ(runGames(args({"--dir", "g", "--games", "1", "--chunk", "1", "--depth", "1", "--exact", "6"}), out), 0);
  EXPECT_EQ(runGames(args({"--dir", "g", "--games", "1", "--chunk", "1", "--depth", "2", "--exact", "6"}), out), 2);
  std::fclose(out);
}

}  // namespace
}  // namespace kaimo::train
