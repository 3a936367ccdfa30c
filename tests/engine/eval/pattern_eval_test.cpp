// The network of "狐" against the straightforward computation, on positions
// of every kind the search can hand it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "engine/eval/pattern_evaluator.h"
#include "engine/eval/pattern_inputs.h"
#include "engine/eval/pattern_network.h"
#include "engine/eval/score.h"
#include "tests/common/plain_board.h"
#include "tests/common/temp_dir.h"
#include "tests/engine/eval/pattern_reference.h"
#include "tools/reference/pattern_sample_data.h"

namespace kaimo {
namespace {

struct Sample {
  Board board;
  int side;
};

int emptiesOf(const Board& b) {
  DiscCounts counts;
  plain::count(b, counts);
  return counts[2];
}

// A random board with this many empty squares, ten walls and discs of
// either colour on the rest.
Board wallBoard(std::mt19937& rng, int empties) {
  std::array<int, kSquareCount> squares;
  for (int s = 0; s < kSquareCount; ++s) squares[s] = s;
  std::shuffle(squares.begin(), squares.end(), rng);
  Board b;
  for (int i = 0; i < kSquareCount; ++i) {
    b[squares[i]] = static_cast<std::int8_t>(i < empties ? kEmpty : i < empties + 10 ? kWall : rng() % 2);
  }
  return b;
}

// For each stage in `wanted`: positions of random games and, half as many,
// random boards with walls.
std::map<int, std::vector<Sample>> samplesByStage(const std::vector<int>& wanted, int perStage, unsigned seed) {
  std::mt19937 rng(seed);
  std::map<int, std::vector<Sample>> out;
  for (const int stage : wanted) {
    // The stage's empty squares, barring passes.
    std::uniform_int_distribution<int> plies(4 * stage, 4 * stage + 3);
    std::vector<Sample>& samples = out[stage];
    while (static_cast<int>(samples.size()) < perStage) {
      Sample s;
      s.board = plain::randomGame(rng, plies(rng), &s.side);
      const int empties = emptiesOf(s.board);
      if (empties > 0 && stageOfEmpties(empties) == stage) samples.push_back(s);
    }
    std::uniform_int_distribution<int> empties(std::max(1, 96 - 4 * stage - 3), 96 - 4 * stage);
    for (int i = 0; i < perStage / 2; ++i)
      samples.push_back({wallBoard(rng, empties(rng)), static_cast<int>(rng() % 2)});
  }
  return out;
}

class PatternNetwork : public testing::InTempDir {
 protected:
  void SetUp() override {
    InTempDir::SetUp();
    rowCount_ = testing::rowCountOfWrittenTables();
    ASSERT_EQ(rowCount_, tables_.rowCount());
  }

  const testing::StageData& stage(int s, int rowSpread, int outputSpread) {
    auto [it, fresh] = stages_.try_emplace(s);
    if (fresh) {
      it->second = testing::randomStage(rowCount_, 1000 + s, rowSpread, outputSpread);
      EXPECT_TRUE(testing::writeStage(s, it->second));
    }
    return it->second;
  }

  std::unique_ptr<PatternEvaluator> makeEvaluator() {
    std::FILE* quiet = std::tmpfile();
    auto evaluator = std::make_unique<PatternEvaluator>(std::make_shared<const PatternData>("", quiet));
    std::fclose(quiet);
    return evaluator;
  }

  static int evaluate(const PatternEvaluator& e, const Board& b, int side) {
    DiscCounts counts;
    boardCount(b, counts);
    return e.evaluate(b, 0, side, counts);
  }

  long rowCount_ = 0;
  reference::Tables tables_;
  std::map<int, testing::StageData> stages_;
};

// Each stage draws its weights from a different range, so sums land inside
// the sigmoid table, on its saturated ends, and the output on both extremes.
struct Spread {
  int stage;
  int rows;
  int output;
};
constexpr Spread kSpreads[] = {{3, 4096, 8000},   {7, 32767, 32767}, {11, 500, 32767},
                               {15, 2000, 20000}, {19, 8000, 4000},  {23, 1000, 32767}};

TEST_F(PatternNetwork, MatchesTheStraightforwardComputationExactly) {
  std::vector<int> wanted;
  for (const Spread& s : kSpreads) {
    stage(s.stage, s.rows, s.output);
    wanted.push_back(s.stage);
  }
  auto evaluator = makeEvaluator();
  ASSERT_FALSE(evaluator->failed());
  ASSERT_EQ(evaluator->data().rowCount(), rowCount_);
  int compared = 0;
  int walls = 0;
  for (const auto& [s, samples] : samplesByStage(wanted, 150, 7)) {
    for (const Sample& sample : samples) {
      const int expected = reference::score(sample.board, sample.side, tables_, stages_.at(s));
      ASSERT_EQ(evaluate(*evaluator, sample.board, sample.side), expected) << "stage " << s << " side " << sample.side;
      ASSERT_GT(expected, -SCORE_WIPEOUT);
      ASSERT_LE(expected, SCORE_WIPEOUT);
      ++compared;
      walls += std::count(sample.board.begin(), sample.board.end(), kWall) > 0;
    }
  }
  EXPECT_GE(compared, 600);
  EXPECT_EQ(walls, 6 * 75);
}

TEST_F(PatternNetwork, RotatedPositionsScoreAlike) {
  for (const Spread& s : kSpreads) stage(s.stage, s.rows, s.output);
  auto evaluator = makeEvaluator();
  std::vector<int> wanted;
  for (const Spread& s : kSpreads) wanted.push_back(s.stage);
  for (const auto& [s, samples] : samplesByStage(wanted, 20, 11)) {
    for (const Sample& sample : samples) {
      Board turned = sample.board;
      const int value = evaluate(*evaluator, sample.board, sample.side);
      for (int quarter = 0; quarter < 3; ++quarter) {
        Board next;
        boardRotate(next, turned);
        turned = next;
        ASSERT_EQ(evaluate(*evaluator, turned, sample.side), value) << "stage " << s;
      }
    }
  }
}

TEST_F(PatternNetwork, TheSideToMoveCountsOnlyThroughParity) {
  for (const Spread& s : kSpreads) stage(s.stage, s.rows, s.output);
  auto evaluator = makeEvaluator();
  int even = 0;
  int odd = 0;
  for (const auto& [s, samples] : samplesByStage({3, 7, 11, 15, 19, 23}, 20, 13)) {
    for (const Sample& sample : samples) {
      const int black = evaluate(*evaluator, sample.board, kBlack);
      const int white = evaluate(*evaluator, sample.board, kWhite);
      if (emptiesOf(sample.board) % 2 == 0) {
        ASSERT_EQ(black, white);
        ++even;
      } else {
        ASSERT_EQ(white, reference::score(sample.board, kWhite, tables_, stages_.at(s)));
        odd += black != white;
      }
    }
  }
  EXPECT_GT(even, 0);
  EXPECT_GT(odd, 0);
}

// All weights zero except the bias feature and one weight on every pattern
// row of hidden unit 0, with output weight `unitWeight` on that unit.
testing::StageData oneUnitStage(long rows, int biasWeight, int rowWeight, int unitWeight) {
  testing::StageData data;
  data.weights.assign(static_cast<std::size_t>(rows) * 4, 0);
  data.weights[4 * 5] = static_cast<std::int16_t>(biasWeight);
  for (long w = 6; w < rows; ++w) data.weights[4 * w] = static_cast<std::int16_t>(rowWeight);
  data.output[0] = static_cast<std::int16_t>(unitWeight);
  return data;
}

using reference::outputScore;

// Every output sum the weights allow, |4 x output weight| on four units and
// the bias: the table and the computation beyond it agree with the formula
// to the unit, the table's ends included.
TEST(OutputScore, EveryReachableSumScoresAsTheFormulaSays) {
  constexpr int kLowest = 4 * -32768 * 5, kHighest = 4 * 32767 * 5;
  int mismatches = 0;
  for (int a = kLowest; a <= kHighest; ++a) mismatches += kaimo::outputScore(a) != outputScore(a);
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(kaimo::outputScore(kLowest), -SCORE_WIPEOUT + 1);
  EXPECT_EQ(kaimo::outputScore(kHighest), SCORE_WIPEOUT);
  EXPECT_EQ(kaimo::outputScore(0), 0);
}

TEST_F(PatternNetwork, HiddenUnitsSaturateBeyondTheTable) {
  int side = 0;
  std::mt19937 rng(3);
  const Board b = plain::randomGame(rng, 40, &side);
  const int s = stageOfEmpties(emptiesOf(b));
  // 8 * 32767 + 58 = 262194: t = 32774 is beyond the table and counts 4096,
  // although the table's largest entry is 4094.
  ASSERT_TRUE(testing::writeStage(s, oneUnitStage(rowCount_, 32767, 1, 4096)));
  EXPECT_EQ(evaluate(*makeEvaluator(), b, side), outputScore(4 * 4096 * 4096 / 4096));
  EXPECT_NE(outputScore(4 * 4096 * 4096 / 4096), outputScore(4 * 4096 * 4094 / 4096));
  // -8 * 32768 - 58: below the table the unit is 0, and with no output bias
  // the output is exactly the middle of the scale.
  ASSERT_TRUE(testing::writeStage(s, oneUnitStage(rowCount_, -32768, -1, 4096)));
  EXPECT_EQ(evaluate(*makeEvaluator(), b, side), 0);
}

// The network with hidden unit 0 alone, its sum 8 * biasWeight + rowWeight
// (the bias feature and one pattern row), under the largest output weight.
int oneSumScore(int biasWeight, int rowWeight, const SigmoidTable& sigmoid) {
  constexpr int kBiasRow = kFeatureCount - 1;
  constexpr int kRow = kFeatureCount;
  constexpr int kZeroRow = kFeatureCount + 1;
  std::vector<std::int16_t> weights(kHiddenUnits * (kZeroRow + 1), 0);
  weights[kHiddenUnits * kBiasRow] = static_cast<std::int16_t>(biasWeight);
  weights[kHiddenUnits * kRow] = static_cast<std::int16_t>(rowWeight);
  const std::int16_t output[kOutputWeights] = {32767, 0, 0, 0, 0};
  NetworkInputs inputs{};
  inputs.features[kBiasRow] = kBiasFeature;
  inputs.rows.fill(kZeroRow);
  inputs.rows[0] = kRow;
  return networkScore(inputs, weights.data(), output, sigmoid);
}

// Every entry of the hidden units' table, as the formula gives it.
TEST(HiddenUnit, EveryTableEntryIsTheFormulas) {
  const SigmoidTable sigmoid;
  int mismatches = 0;
  for (int i = 0; i < 2 * SigmoidTable::kCentre; ++i) {
    mismatches += sigmoid[i] != reference::sigmoid(i - SigmoidTable::kCentre);
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(sigmoid[0], 1);  // 4096 / (1 + e^8)
  EXPECT_EQ(sigmoid[SigmoidTable::kCentre], 2048);
  EXPECT_EQ(sigmoid[2 * SigmoidTable::kCentre - 1], 4094);
}

// Sums at both ends of the sigmoid table: a unit divides its sum by 8, so
// 262143 reads the last entry, and 262144 to 262151 are just beyond it and
// count as saturated, as sums below -262151 count as 0.
TEST(HiddenUnit, SumsAtBothEndsOfTheTable) {
  const SigmoidTable sigmoid;
  struct Case {
    int biasWeight;
    int rowWeight;
    int unit;
  };
  const Case cases[] = {
      {32767, 7, reference::sigmoid(32767)},     // 262143: the last entry
      {32767, 8, 4096},                          // 262144: just beyond it
      {32767, 15, 4096},                         // 262151
      {-32768, -7, reference::sigmoid(-32768)},  // -262151: the first entry
      {-32768, -8, 0},                           // -262152: below the table
  };
  for (const Case& c : cases) {
    EXPECT_EQ(oneSumScore(c.biasWeight, c.rowWeight, sigmoid), outputScore(4 * 32767 * c.unit / 4096))
        << "sum " << 8 * c.biasWeight + c.rowWeight;
  }
}

TEST_F(PatternNetwork, ResultsReachBothEndsOfTheScale) {
  Board b;
  boardInit(b);
  for (int s = 0; s < 12; ++s) b[s] = s % 2 ? kBlack : kWhite;  // 84 empty squares left
  ASSERT_EQ(stageOfEmpties(emptiesOf(b)), 3);
  testing::StageData high;
  high.weights.assign(static_cast<std::size_t>(rowCount_) * 4, 32767);
  high.output = {32767, 32767, 32767, 32767, 32767};
  ASSERT_TRUE(testing::writeStage(3, high));
  EXPECT_EQ(evaluate(*makeEvaluator(), b, kBlack), SCORE_WIPEOUT);  // the output rounds to exactly 4096
  testing::StageData low = high;
  low.output = {-32768, -32768, -32768, -32768, -32768};
  ASSERT_TRUE(testing::writeStage(3, low));
  EXPECT_EQ(evaluate(*makeEvaluator(), b, kBlack), -SCORE_WIPEOUT + 1);
}

TEST_F(PatternNetwork, PlacementIndicesOfTheInitialPosition) {
  Board b;
  boardInit(b);
  const IndexTable lines4 = buildLineClasses(4, false);
  const IndexTable edges = buildLineClasses(8, true);
  for (int j = 0; j < 4; ++j) {
    // Every square of the short diagonals is empty: raw 2222 in base 3.
    EXPECT_EQ(patternIndex(b, 0, j, lines4.entries.data()), lines4.entries[80] & kClassMask);
    EXPECT_EQ(patternIndex(b, 13, j, nullptr), 19682);
    // An empty edge: raw 6560, class * 81 + 80 whichever way it is read.
    EXPECT_EQ(patternIndex(b, 11, j, edges.entries.data()), (edges.entries[6560] & kClassMask) * 81 + 80);
  }
  EXPECT_EQ(patternIndex(b, 12, 0, nullptr), 59048);
}

TEST_F(PatternNetwork, EdgeCornersAreReadFromTheRepresentativesSide) {
  // An edge whose reverse is the class representative reads its corner area
  // from the other corner, so the mirror image lands on the same row.
  const IndexTable edges = buildLineClasses(8, true);
  Board b;
  b.fill(kEmpty);
  b[80] = kBlack;  // the last edge square before corner 90
  b[90] = kWhite;
  b[81] = kBlack;
  Board mirrored;  // column c becomes column 9 - c
  mirrored.fill(kEmpty);
  mirrored[10] = kBlack;
  mirrored[0] = kWhite;
  mirrored[11] = kBlack;
  const int raw = 2 * (2187 + 729 + 243 + 81 + 27 + 9 + 3) + 0;  // seven empty edge squares, then black
  ASSERT_NE(edges.entries[raw] & kMirroredFlag, 0);
  const int cls = edges.entries[raw] & kClassMask;
  // Read from corner 90: white, black on 81, then the empty 11 and 0.
  EXPECT_EQ(patternIndex(b, 11, 0, edges.entries.data()), cls * 81 + 1 * 27 + 0 * 9 + 2 * 3 + 2);
  EXPECT_EQ(patternIndex(mirrored, 11, 0, edges.entries.data()), cls * 81 + 1 * 27 + 0 * 9 + 2 * 3 + 2);
}

TEST_F(PatternNetwork, WallsReadAsEmptyAndStayInsideTheTables) {
  stage(15, 2000, 20000);
  auto evaluator = makeEvaluator();
  Board b;
  b.fill(kWall);  // a board of walls with a few discs and empty squares
  for (int s = 0; s < 60; ++s) b[s] = static_cast<std::int8_t>(s % 3 == 0 ? kBlack : s % 3 == 1 ? kWhite : kWall);
  for (int s = 60; s < 94; ++s) b[s] = kEmpty;
  ASSERT_EQ(stageOfEmpties(emptiesOf(b)), 15);
  EXPECT_EQ(evaluate(*evaluator, b, kBlack), reference::score(b, kBlack, tables_, stages_.at(15)));
  // Only the digits treat a wall as empty; a real empty square also counts
  // towards the parity, the mobility and the stage.
  const IndexTable lines10 = buildLineClasses(10, false);
  Board emptied = b;
  for (auto& square : emptied) {
    if (square == kWall) square = kEmpty;
  }
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(patternIndex(b, 7, j, lines10.entries.data()), patternIndex(emptied, 7, j, lines10.entries.data()));
    EXPECT_EQ(patternIndex(b, 13, j, nullptr), patternIndex(emptied, 13, j, nullptr));
  }
}

TEST_F(PatternNetwork, TheTopBitOfLineTablesIsIgnored) {
  for (const Spread& s : kSpreads) stage(s.stage, s.rows, s.output);
  auto clean = makeEvaluator();
  std::mt19937 rng(5);
  for (const PatternDescriptor& d : kPatternDescriptors) {
    if (d.kind != kKindLine) continue;
    IndexTable noisy = testing::classTableFor(d);
    for (auto& entry : noisy.entries) entry = static_cast<std::uint16_t>(entry | (rng() % 2 ? kMirroredFlag : 0));
    ASSERT_TRUE(writeIndexTable(indexTableFileName(d).c_str(), noisy));
  }
  auto noisy = makeEvaluator();
  ASSERT_FALSE(noisy->failed());
  for (const auto& [s, samples] : samplesByStage({3, 11, 23}, 30, 17)) {
    for (const Sample& sample : samples) {
      ASSERT_EQ(evaluate(*noisy, sample.board, sample.side), evaluate(*clean, sample.board, sample.side));
    }
  }
}

}  // namespace
}  // namespace kaimo
