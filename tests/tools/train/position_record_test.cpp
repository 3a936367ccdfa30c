#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>

#include <sys/stat.h>

#include "tests/common/plain_board.h"
#include "tests/common/temp_dir.h"
#include "tools/train/chunks.h"
#include "tools/train/position_record.h"

namespace kaimo::train {
namespace {

using PositionFiles = kaimo::testing::InTempDir;

TrainingPosition somePosition(int seed) {
  std::mt19937 rng(static_cast<unsigned>(seed));
  TrainingPosition p;
  p.board = plain::randomGame(rng, 10 + seed % 70, &p.side);
  p.kind = static_cast<LabelKind>(seed % 3);
  p.margin = seed % 2 ? -(seed % 101) : seed % 101;
  p.game = seed * 7919;
  p.searchValue = seed % 4 == 0 ? kNoSearchValue : (seed * 37) % (2 * kMaxSearchValue + 1) - kMaxSearchValue;
  return p;
}

void expectSame(const TrainingPosition& a, const TrainingPosition& b) {
  EXPECT_EQ(a.board, b.board);
  EXPECT_EQ(a.side, b.side);
  EXPECT_EQ(a.kind, b.kind);
  EXPECT_EQ(a.margin, b.margin);
  EXPECT_EQ(a.game, b.game);
  EXPECT_EQ(a.searchValue, b.searchValue);
}

TEST(PositionRecord, EveryFieldSurvivesARoundTrip) {
  for (int seed = 0; seed < 200; ++seed) {
    const TrainingPosition p = somePosition(seed);
    unsigned char bytes[kRecordBytes];
    encodeRecord(p, bytes);
    TrainingPosition back;
    ASSERT_TRUE(decodeRecord(bytes, back));
    expectSame(p, back);
  }
}

TEST(PositionRecord, RefusesRecordsThatCannotBePositions) {
  unsigned char bytes[kRecordBytes];
  encodeRecord(somePosition(3), bytes);
  TrainingPosition back;
  unsigned char wall[kRecordBytes];
  std::copy(bytes, bytes + kRecordBytes, wall);
  wall[0] |= 3;  // square 0 becomes a wall
  EXPECT_FALSE(decodeRecord(wall, back));
  unsigned char side[kRecordBytes];
  std::copy(bytes, bytes + kRecordBytes, side);
  side[25] = 2;
  EXPECT_FALSE(decodeRecord(side, back));
  unsigned char empties[kRecordBytes];
  std::copy(bytes, bytes + kRecordBytes, empties);
  empties[26] ^= 1;  // disagrees with the board
  EXPECT_FALSE(decodeRecord(empties, back));
  unsigned char margin[kRecordBytes];
  std::copy(bytes, bytes + kRecordBytes, margin);
  margin[28] = 101;
  margin[29] = 0;
  EXPECT_FALSE(decodeRecord(margin, back));
  unsigned char searched[kRecordBytes];
  std::copy(bytes, bytes + kRecordBytes, searched);
  searched[34] = 0x11;  // 10001 hundredths: beyond a wipe-out
  searched[35] = 0x27;
  EXPECT_FALSE(decodeRecord(searched, back));
}

TEST_F(PositionFiles, AChunkReadsBackWhole) {
  const std::vector<TrainingPosition> written = {somePosition(1), somePosition(2), somePosition(4)};
  std::string error;
  ASSERT_TRUE(writeChunk("p.kpos", written, error)) << error;
  EXPECT_EQ(std::filesystem::file_size("p.kpos"), kChunkHeaderBytes + 3u * kRecordBytes);
  std::vector<TrainingPosition> read;
  ASSERT_TRUE(readChunk("p.kpos", read, error)) << error;
  ASSERT_EQ(read.size(), written.size());
  for (std::size_t i = 0; i < read.size(); ++i) expectSame(read[i], written[i]);
  // Chunks of the first format carry no search values.
  std::string first = readFile("p.kpos");
  first[4] = 1;
  writeFile("v1.kpos", first);
  read.clear();
  ASSERT_TRUE(readChunk("v1.kpos", read, error)) << error;
  ASSERT_EQ(read.size(), written.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].board, written[i].board);
    EXPECT_EQ(read[i].searchValue, kNoSearchValue);
  }
  ASSERT_TRUE(writeChunk("none.kpos", {}, error)) << error;
  EXPECT_TRUE(readChunk("none.kpos", read, error)) << error;
}

// Every way a chunk can be damaged or replaced is refused, naming the file.
TEST_F(PositionFiles, ADamagedChunkIsRefused) {
  std::string error;
  ASSERT_TRUE(writeChunk("good.kpos", {somePosition(1), somePosition(2)}, error)) << error;
  const std::string good = readFile("good.kpos");
  const std::string oneRecord = good.substr(0, kChunkHeaderBytes + kRecordBytes);
  writeFile("empty.kpos", "");
  writeFile("header-only.kpos", good.substr(0, kChunkHeaderBytes));
  writeFile("cut-at-record.kpos", oneRecord);
  writeFile("cut-in-record.kpos", good.substr(0, good.size() - 1));
  writeFile("padded.kpos", good + "x");
  writeFile("no-header.kpos", good.substr(kChunkHeaderBytes));
  std::string future = good;
  future[4] = 3;
  writeFile("future.kpos", future);
  std::filesystem::create_directory("folder.kpos");
  ASSERT_EQ(::mkfifo("fifo.kpos", 0600), 0);
  for (const char* name : {"empty.kpos", "header-only.kpos", "cut-at-record.kpos", "cut-in-record.kpos", "padded.kpos",
                           "no-header.kpos", "future.kpos", "folder.kpos", "fifo.kpos", "missing.kpos"}) {
    SCOPED_TRACE(name);
    std::vector<TrainingPosition> read;
    error.clear();
    EXPECT_FALSE(readChunk(name, read, error));
    EXPECT_NE(error.find(name), std::string::npos) << error;
  }
}

// The check every step reads chunks through, at its edges: chunk 2 of a
// folder of 5 games a chunk holds games 10 to 14 only, and positions of 1 to
// 84 empty squares only (the ones a game keeps).
TEST_F(PositionFiles, AChunkOfGamesHoldsOnlyItsGamesAndThePositionsTheyKeep) {
  const struct {
    int game, empties;
    bool accepted;
  } cases[] = {{10, 40, true}, {14, 40, true}, {9, 40, false}, {15, 40, false},
               {12, 1, true},  {12, 0, false}, {12, 84, true}, {12, 85, false}};
  for (const auto& c : cases) {
    TrainingPosition p = somePosition(3);
    for (int s = 0; s < kSquareCount; ++s) p.board[s] = s < c.empties ? kEmpty : s % 3 == 0 ? kWhite : kBlack;
    p.game = c.game;
    std::string error;
    ASSERT_TRUE(writeChunk("games-00002.kpos", {p}, error)) << error;
    std::vector<TrainingPosition> read;
    EXPECT_EQ(readChunkOfGames("games-00002.kpos", 5, read, error), c.accepted)
        << "game " << c.game << " with " << c.empties << " empty squares: " << error;
  }
}

}  // namespace
}  // namespace kaimo::train
