#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "tests/common/plain_board.h"
#include "tests/common/temp_dir.h"
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
  return p;
}

void expectSame(const TrainingPosition& a, const TrainingPosition& b) {
  EXPECT_EQ(a.board, b.board);
  EXPECT_EQ(a.side, b.side);
  EXPECT_EQ(a.kind, b.kind);
  EXPECT_EQ(a.margin, b.margin);
  EXPECT_EQ(a.game, b.game);
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
}

TEST_F(PositionFiles, AppendsAndIgnoresAnInterruptedLastRecord) {
  const std::vector<TrainingPosition> first = {somePosition(1), somePosition(2)};
  const std::vector<TrainingPosition> second = {somePosition(4)};
  ASSERT_TRUE(appendPositions("p.kpos", first));
  ASSERT_TRUE(appendPositions("p.kpos", second));
  std::FILE* file = std::fopen("p.kpos", "ab");
  ASSERT_NE(file, nullptr);
  std::fputs("half a record", file);
  std::fclose(file);

  std::vector<TrainingPosition> read;
  std::string error;
  ASSERT_TRUE(readPositions("p.kpos", read, error)) << error;
  ASSERT_EQ(read.size(), 3u);
  expectSame(read[0], first[0]);
  expectSame(read[2], second[0]);
}

TEST_F(PositionFiles, NamesTheFileItCannotRead) {
  std::vector<TrainingPosition> read;
  std::string error;
  EXPECT_FALSE(readPositions("missing.kpos", read, error));
  EXPECT_NE(error.find("missing.kpos"), std::string::npos);
}

}  // namespace
}  // namespace kaimo::train
