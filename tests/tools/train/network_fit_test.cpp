// The float network the trainer fits must be the integer network "狐"
// evaluates with, up to rounding: otherwise the fit optimises something the
// program never computes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "engine/eval/pattern_network.h"
#include "tests/common/plain_board.h"
#include "tools/train/network_fit.h"
#include "tools/train/train_data.h"

namespace kaimo::train {
namespace {

TrainingPosition randomPosition(std::mt19937& rng, int plies) {
  TrainingPosition p;
  p.board = plain::randomGame(rng, plies, &p.side);
  DiscCounts counts;
  plain::count(p.board, counts);
  p.margin = counts[0] - counts[1];
  return p;
}

std::vector<Sample> samples(std::mt19937& rng, int count) {
  std::vector<Sample> out;
  for (int i = 0; i < count; ++i) {
    const TrainingPosition p = randomPosition(rng, 20 + i % 60);
    out.push_back(makeSample(p, static_cast<float>(p.margin), false, 1.0f));
  }
  return out;
}

// What a stage file holds.
struct Quantised {
  std::vector<std::int16_t> weights;
  std::array<std::int16_t, 5> output{};
  bool operator==(const Quantised&) const = default;
};

Quantised quantised(const FloatNetwork& network) {
  Quantised q;
  network.quantise(q.weights, q.output);
  return q;
}

// A network fitted for three passes on `training`.
FloatNetwork fitted(std::vector<Sample>& training) {
  FloatNetwork network(inputSpace().layout.rowCount);
  FitSettings settings;
  settings.epochs = 3;
  settings.learningRate = 0.05f;
  network.fit(training, settings);
  return network;
}

TEST(NetworkFit, QuantisedWeightsScoreLikeTheFloatModel) {
  std::mt19937 rng(5);
  std::vector<Sample> training = samples(rng, 300);
  const FloatNetwork network = fitted(training);
  const auto [weights, output] = quantised(network);
  const SigmoidTable sigmoid;
  double largest = 0;
  for (const Sample& s : samples(rng, 200)) {
    const double integer = networkScore(s.inputs, weights.data(), output.data(), sigmoid) / 1000.0;
    largest = std::max(largest, std::fabs(integer - network.predict(s.inputs)));
  }
  // Rounding weights to 1/32768 of a unit and the table's truncations cost
  // hundredths of a disc; a wrong scale or sign would cost whole discs.
  EXPECT_LT(largest, 0.1);
}

TEST(NetworkFit, RowsNeverVisitedStayZero) {
  std::mt19937 rng(6);
  std::vector<Sample> training = samples(rng, 20);
  FloatNetwork network(inputSpace().layout.rowCount);
  FitSettings settings;
  settings.epochs = 1;
  network.fit(training, settings);
  std::vector<std::int16_t> weights;
  std::array<std::int16_t, 5> output{};
  network.quantise(weights, output);
  std::vector<bool> visited(static_cast<std::size_t>(inputSpace().layout.rowCount), false);
  for (int i = 0; i < kFeatureCount; ++i) visited[i] = true;
  for (const auto& s : training) {
    for (const int r : s.inputs.rows) visited[r] = true;
  }
  long nonZeroUnvisited = 0;
  for (std::size_t r = 0; r < visited.size(); ++r) {
    for (int h = 0; h < 4; ++h) nonZeroUnvisited += !visited[r] && weights[r * 4 + h] != 0;
  }
  EXPECT_EQ(nonZeroUnvisited, 0);
}

TEST(NetworkFit, LearnsATargetTheFeaturesExplain) {
  // Half the disc difference: one feature carries it, so a few passes must
  // come far closer than the targets' spread (the error of always saying 0).
  std::mt19937 rng(7);
  std::vector<Sample> training;
  for (int i = 0; i < 400; ++i) {
    const TrainingPosition p = randomPosition(rng, 30 + i % 40);
    training.push_back(makeSample(p, 0.5f * p.margin, false, 1.0f));
  }
  double spread = 0;
  for (const auto& s : training) spread += std::fabs(s.target);
  spread /= static_cast<double>(training.size());
  FloatNetwork network(inputSpace().layout.rowCount);
  FitSettings settings;
  settings.epochs = 30;
  settings.learningRate = 0.1f;
  settings.l2 = 0;
  network.fit(training, settings);
  EXPECT_LT(network.meanAbsoluteError(training), spread / 3);
}

// The patterns are placed in the four rotations, so a turned position feeds
// the network the same rows; a reflected one differs only where an edge
// reads the same from both corners (the corner squares beside it are then
// read in one fixed order), which is why the fit adds reflected copies only.
TEST(NetworkFit, OnlyReflectionsChangeWhatTheNetworkSees) {
  std::mt19937 rng(9);
  const auto rowsOutsideTheEdges = [](NetworkInputs inputs) {
    const WeightLayout& layout = inputSpace().layout;
    int edge = 0;
    while (kPatternDescriptors[edge].kind != kKindEdge) ++edge;
    const long end = edge + 1 < kPatternCount ? layout.offsets[edge + 1] : layout.rowCount;
    std::vector<int> rows;
    for (const int r : inputs.rows) {
      if (r < layout.offsets[edge] || r >= end) rows.push_back(r);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
  };
  for (int plies : {20, 45, 70}) {
    const TrainingPosition p = randomPosition(rng, plies);
    NetworkInputs original = makeSample(p, 0, false, 1).inputs;
    TrainingPosition image = p;
    for (int turn = 1; turn < 4; ++turn) {
      boardRotate(image.board, Board(image.board));
      NetworkInputs seen = makeSample(image, 0, false, 1).inputs;
      std::sort(seen.rows.begin(), seen.rows.end());
      std::sort(original.rows.begin(), original.rows.end());
      EXPECT_EQ(seen.rows, original.rows) << plies << " " << turn;
      EXPECT_EQ(seen.features, original.features) << plies << " " << turn;
    }
    boardTranspose(image.board, p.board);
    const NetworkInputs reflected = makeSample(image, 0, false, 1).inputs;
    EXPECT_EQ(rowsOutsideTheEdges(reflected), rowsOutsideTheEdges(original)) << plies;
    EXPECT_EQ(reflected.features, original.features) << plies;
  }
}

// A held-out stop keeps the weights of the best pass on the validation
// samples, whatever later passes do to them.
TEST(NetworkFit, AHeldOutStopKeepsTheBestPass) {
  std::mt19937 rng(10);
  std::vector<Sample> training = samples(rng, 60);
  std::vector<Sample> validation = samples(rng, 60);
  for (auto& s : training) s.target = -s.target;  // learning these makes the validation worse
  FloatNetwork network(inputSpace().layout.rowCount);
  FitSettings settings;
  settings.epochs = 20;
  settings.patience = 2;
  settings.learningRate = 0.1f;
  const FitReport report = network.fit(training, settings, validation);
  EXPECT_LT(report.passes, settings.epochs);
  EXPECT_EQ(report.passes - report.bestPass, settings.patience);
  EXPECT_NEAR(network.meanAbsoluteError(validation), report.validationError, 1e-3);
}

// A new round of games may start from the weights written before: loading
// them back must give the very same file, and a fit that only makes them
// worse must leave them as they were.
TEST(NetworkFit, AFitFromWrittenWeightsKeepsThemWhenNoPassDoesBetter) {
  std::mt19937 rng(11);
  std::vector<Sample> training = samples(rng, 80);
  std::vector<Sample> validation = samples(rng, 60);
  const Quantised written = quantised(fitted(training));

  FloatNetwork again(inputSpace().layout.rowCount);
  again.load(written.weights, written.output);
  EXPECT_TRUE(quantised(again) == written);

  for (auto& s : training) s.target = -s.target;
  FitSettings settings;
  settings.epochs = 3;
  settings.patience = 2;
  settings.learningRate = 0.05f;
  const FitReport report = again.fit(training, settings, validation, true);
  EXPECT_EQ(report.bestPass, 0);
  EXPECT_TRUE(quantised(again) == written);
}

TEST(NetworkFit, SwappedColoursNegateTheTargetAndExchangeTheDiscs) {
  std::mt19937 rng(8);
  const TrainingPosition p = randomPosition(rng, 25);
  const Sample same = makeSample(p, 7.0f, false, 1.0f);
  const Sample swapped = makeSample(p, 7.0f, true, 1.0f);
  EXPECT_EQ(swapped.target, -7.0f);
  EXPECT_EQ(swapped.inputs.features[4], -same.inputs.features[4]);  // discs
  EXPECT_EQ(swapped.inputs.features[0], -same.inputs.features[0]);  // mobility
  EXPECT_EQ(swapped.inputs.features[5], same.inputs.features[5]);   // bias
}

}  // namespace
}  // namespace kaimo::train
