#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/eval/pattern_layout.h"
#include "engine/eval/pattern_shapes.h"
#include "tests/common/temp_dir.h"

namespace kaimo {
namespace {

// The digits of a raw index, most significant first.
std::vector<int> digitsOf(int raw, int length) {
  std::vector<int> digits(length);
  for (int k = length - 1; k >= 0; --k, raw /= 3) digits[k] = raw % 3;
  return digits;
}

int fromDigits(const std::vector<int>& digits) {
  int raw = 0;
  for (int d : digits) raw = raw * 3 + d;
  return raw;
}

TEST(PatternLines, RawIndexAndReversal) {
  const int empties[4] = {2, 2, 2, 2};
  EXPECT_EQ(lineIndex(empties, 4), 2 * 27 + 2 * 9 + 2 * 3 + 2);
  const int mixed[3] = {1, 0, 2};
  EXPECT_EQ(lineIndex(mixed, 3), 1 * 9 + 0 * 3 + 2);
  for (int length : {1, 4, 7}) {
    for (int raw = 0; raw < powerOfThree(length); ++raw) {
      std::vector<int> digits = digitsOf(raw, length);
      std::reverse(digits.begin(), digits.end());
      ASSERT_EQ(reversedLineIndex(raw, length), fromDigits(digits)) << length << " " << raw;
    }
  }
}

class LineClasses : public ::testing::TestWithParam<int> {};

TEST_P(LineClasses, ALineAndItsReverseShareOneDenseClass) {
  const int length = GetParam();
  const int size = powerOfThree(length);
  for (const bool mirrored : {false, true}) {
    const IndexTable table = buildLineClasses(length, mirrored);
    ASSERT_EQ(static_cast<int>(table.entries.size()), size);
    std::set<int> pairs;  // each unordered {line, reverse} by its smaller raw index
    std::map<int, int> pairOfClass;
    for (int raw = 0; raw < size; ++raw) {
      std::vector<int> digits = digitsOf(raw, length);
      std::reverse(digits.begin(), digits.end());
      const int reversed = fromDigits(digits);
      const int representative = std::min(raw, reversed);
      pairs.insert(representative);
      const int entry = table.entries[raw];
      const int cls = entry & kClassMask;
      ASSERT_EQ(cls, table.entries[reversed] & kClassMask);
      ASSERT_LT(cls, table.classCount);
      // The flag says the representative is the reversed line; only edge
      // tables carry it.
      ASSERT_EQ((entry & kMirroredFlag) != 0, mirrored && reversed < raw) << raw;
      const auto [it, fresh] = pairOfClass.emplace(cls, representative);
      ASSERT_EQ(it->second, representative) << "two pairs in class " << cls;
    }
    EXPECT_EQ(table.classCount, static_cast<int>(pairs.size()));
    EXPECT_EQ(static_cast<int>(pairOfClass.size()), table.classCount);  // no class number is skipped
  }
}

INSTANTIATE_TEST_SUITE_P(Lengths, LineClasses, ::testing::Values(1, 2, 4, 5, 8, 10));

TEST(PatternShapes, SymmetryMapsAndPlacements) {
  for (int j = 0; j < kSymmetryCount; ++j) {
    std::set<int> image(kSymmetryMaps[j].begin(), kSymmetryMaps[j].end());
    EXPECT_EQ(image.size(), 100u) << "map " << j << " is not a permutation";
    if (j >= 4) continue;
    // Map j + 4 is map j after exchanging column and row.
    for (int s = 0; s < kSquareCount; ++s) {
      ASSERT_EQ(kSymmetryMaps[j + 4][s], kSymmetryMaps[j][10 * (s % 10) + s / 10]);
    }
  }
  auto placement = [](int p, int j) {
    return std::vector<int>(kPlacements[p][j].begin(), kPlacements[p][j].begin() + kPatternDescriptors[p].n);
  };
  EXPECT_EQ(placement(6, 1), (std::vector<int>{0, 11, 22, 33, 44, 55, 66, 77, 88, 99}));
  EXPECT_EQ(placement(11, 1), (std::vector<int>{9, 18, 11, 0, 8, 7, 6, 5, 4, 3, 2, 1}));
  EXPECT_EQ(placement(11, 2), (std::vector<int>{99, 88, 18, 9, 89, 79, 69, 59, 49, 39, 29, 19}));
  EXPECT_EQ(placement(11, 3), (std::vector<int>{90, 81, 88, 99, 91, 92, 93, 94, 95, 96, 97, 98}));
}

TEST(PatternLayout, NamesStagesAndRows) {
  EXPECT_EQ(indexTableFileName(kPatternDescriptors[0]), "fgtb040.kmx");
  EXPECT_EQ(indexTableFileName(kPatternDescriptors[10]), "fgtb100.kmx");
  EXPECT_EQ(indexTableFileName(kPatternDescriptors[11]), "fgtb081.kmx");
  EXPECT_EQ(stageFileName(3), "kaimogr03.dat");
  EXPECT_EQ(stageOfEmpties(84), 3);
  EXPECT_EQ(stageOfEmpties(81), 3);
  EXPECT_EQ(stageOfEmpties(80), 4);
  EXPECT_EQ(stageOfEmpties(56), 10);
  EXPECT_EQ(stageOfEmpties(53), 10);
  EXPECT_EQ(stageOfEmpties(4), 23);
  EXPECT_EQ(stageOfEmpties(1), 23);
  EXPECT_EQ(stageOfEmpties(100), 0);  // -1 truncates to 0 anyway; never negative

  std::array<std::int32_t, kPatternCount> counts{};
  for (int p = 0; p < kPatternCount; ++p) counts[p] = 100 + p;
  const WeightLayout layout = weightLayoutFor(counts);
  // Sizes by kind: K for lines, K * 81 for the edge, 3^10 for the 2 x 5
  // block and 3^9 for the 3 x 3 block.
  const long sizes[kPatternCount] = {100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111 * 81, 59049, 19683};
  long expected = 6;
  for (int p = 0; p < kPatternCount; ++p) {
    EXPECT_EQ(layout.offsets[p], expected) << p;
    expected += sizes[p];
  }
  EXPECT_EQ(layout.rowCount, expected);
}

using PatternFiles = testing::InTempDir;

TEST_F(PatternFiles, IndexTableRoundTripsWithItsByteLayout) {
  const IndexTable table = buildLineClasses(5, true);
  ASSERT_TRUE(writeIndexTable("t.kmx", table));
  const std::string bytes = readFile("t.kmx");
  ASSERT_EQ(bytes.size(), 48u + 2u * 243u);
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  EXPECT_EQ(byte(20) | byte(21) << 8 | byte(22) << 16 | byte(23) << 24, table.classCount);
  EXPECT_EQ(byte(48 + 2 * 200) | byte(49 + 2 * 200) << 8, table.entries[200]);
  IndexTable read;
  ASSERT_EQ(readIndexTable("t.kmx", 5, read), LayoutStatus::Ok);
  EXPECT_EQ(read.classCount, table.classCount);
  EXPECT_EQ(read.entries, table.entries);
}

TEST_F(PatternFiles, BrokenIndexTablesAreRefused) {
  IndexTable table = buildLineClasses(4, false);
  IndexTable read;
  EXPECT_EQ(readIndexTable("missing.kmx", 4, read), LayoutStatus::CannotOpen);

  ASSERT_TRUE(writeIndexTable("t.kmx", table));
  std::filesystem::resize_file("t.kmx", 48 + 2 * 81 - 1);
  EXPECT_EQ(readIndexTable("t.kmx", 4, read), LayoutStatus::TooShort);

  IndexTable tooFewClasses = table;
  tooFewClasses.classCount -= 1;  // the last class number is now out of range
  ASSERT_TRUE(writeIndexTable("t.kmx", tooFewClasses));
  EXPECT_EQ(readIndexTable("t.kmx", 4, read), LayoutStatus::BadClasses);

  IndexTable flagged = table;
  flagged.entries[7] |= kMirroredFlag;  // the top bit is not part of the class
  ASSERT_TRUE(writeIndexTable("t.kmx", flagged));
  EXPECT_EQ(readIndexTable("t.kmx", 4, read), LayoutStatus::Ok);

  IndexTable huge = table;
  huge.classCount = kMaxClassCount + 1;
  ASSERT_TRUE(writeIndexTable("t.kmx", huge));
  EXPECT_EQ(readIndexTable("t.kmx", 4, read), LayoutStatus::BadClasses);
  IndexTable none = table;
  none.classCount = 0;
  ASSERT_TRUE(writeIndexTable("t.kmx", none));
  EXPECT_EQ(readIndexTable("t.kmx", 4, read), LayoutStatus::BadClasses);
  EXPECT_EQ(read.entries, flagged.entries) << "a refused table must not replace the last good one";
}

TEST_F(PatternFiles, StageWeightsRoundTripWithTheirByteLayout) {
  const long rows = 3;
  const std::int16_t weights[rows * 4] = {1, -2, 3, -4, 5, 6, 7, 8, -32768, 32767, 0, 258};
  const std::int16_t output[5] = {10, 20, 30, 40, -50};
  ASSERT_TRUE(writeStageWeights("s.dat", weights, rows, output));
  const std::string bytes = readFile("s.dat");
  ASSERT_EQ(static_cast<long>(bytes.size()), stageFileBytes(rows));
  ASSERT_EQ(bytes.size(), 3u * 8u + 10u);
  // Row 2, hidden unit 3 at 8 * 2 + 2 * 3; the output bias after the rows.
  EXPECT_EQ(static_cast<unsigned char>(bytes[22]) | static_cast<unsigned char>(bytes[23]) << 8, 258);
  EXPECT_EQ(
      static_cast<std::int16_t>(static_cast<unsigned char>(bytes[32]) | static_cast<unsigned char>(bytes[33]) << 8),
      -50);
  std::int16_t readWeights[rows * 4] = {};
  std::int16_t readOutput[5] = {};
  ASSERT_EQ(readStageWeights("s.dat", rows, readWeights, readOutput), LayoutStatus::Ok);
  EXPECT_TRUE(std::equal(weights, weights + 12, readWeights));
  EXPECT_TRUE(std::equal(output, output + 5, readOutput));
}

TEST_F(PatternFiles, ShortStageFilesStoreNothing) {
  const std::int16_t weights[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  const std::int16_t output[5] = {9, 9, 9, 9, 9};
  ASSERT_TRUE(writeStageWeights("s.dat", weights, 2, output));
  std::int16_t readWeights[12] = {};
  std::int16_t readOutput[5] = {};
  EXPECT_EQ(readStageWeights("s.dat", 3, readWeights, readOutput), LayoutStatus::TooShort);
  EXPECT_TRUE(std::all_of(std::begin(readWeights), std::end(readWeights), [](int w) { return w == 0; }));
  EXPECT_EQ(readStageWeights("none.dat", 1, readWeights, readOutput), LayoutStatus::CannotOpen);
  // A longer file is read up to the layout.
  EXPECT_EQ(readStageWeights("s.dat", 1, readWeights, readOutput), LayoutStatus::Ok);
  EXPECT_EQ(readWeights[3], 4);
  EXPECT_EQ(readOutput[0], 5);
}

}  // namespace
}  // namespace kaimo
