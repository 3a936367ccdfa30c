#include "engine/eval/pattern_network.h"

#include <cmath>
#include <vector>

#include "engine/eval/score.h"

namespace kaimo {
namespace {

constexpr int kHiddenScale = 8;         // a unit's sum is divided by this before the sigmoid
constexpr int kSigmoidSpan = 4096;      // the table's input scale and output scale
constexpr int kOutputGain = 4;          // output weights count four times
constexpr double kOutputSpan = 32768.0; // the output unit's input scale
// 200000 / 4096: the output 0..4096 spans a wipe-out either way.
constexpr double kScorePerOutput = 48.828125;
// Output sums with |a| below this are read from a table (1 MB): beyond it
// the score is within four discs of a wipe-out, where leaves are rare.
constexpr int kTabledOutputs = 1 << 17;

int computedOutputScore(int a) {
  const float y = static_cast<float>(kSigmoidSpan / (1.0 + std::exp(-a / kOutputSpan)));
  return static_cast<int>(static_cast<double>(y) * kScorePerOutput - SCORE_WIPEOUT);
}

// Built on first use: a program that never evaluates with "狐" never fills it.
const int* outputScores() {
  static const std::vector<int> table = [] {
    std::vector<int> scores(2 * kTabledOutputs);
    for (int a = -kTabledOutputs; a < kTabledOutputs; ++a) scores[a + kTabledOutputs] = computedOutputScore(a);
    return scores;
  }();
  return table.data() + kTabledOutputs;
}

}  // namespace

SigmoidTable::SigmoidTable() : entries_(2 * kCentre) {
  for (int i = 0; i < 2 * kCentre; ++i) {
    const double x = -(i - kCentre) / static_cast<double>(kSigmoidSpan);
    entries_[i] = static_cast<std::int16_t>(kSigmoidSpan / (1.0 + std::exp(x)));
  }
}

int hiddenUnit(int sum, const SigmoidTable& sigmoid) {
  const int t = sum / kHiddenScale;
  if (t < -SigmoidTable::kCentre) return 0;
  if (t >= SigmoidTable::kCentre) return SigmoidTable::kSaturated;
  return sigmoid[t + SigmoidTable::kCentre];
}

int outputScore(int a) {
  static const int* const tabled = outputScores();
  if (a < -kTabledOutputs || a >= kTabledOutputs) return computedOutputScore(a);
  return tabled[a];
}

int networkOutput(const PatternFeatures& features, std::array<int, kHiddenUnits> sums, const std::int16_t* weights,
                  const std::int16_t* output, const SigmoidTable& sigmoid) {
  for (int i = 0; i < kFeatureCount; ++i) {
    const std::int16_t* row = weights + kHiddenUnits * i;
    for (int h = 0; h < kHiddenUnits; ++h) sums[h] += row[h] * features[i];
  }
  int a = kOutputGain * output[kHiddenUnits];
  for (int h = 0; h < kHiddenUnits; ++h) {
    a += kOutputGain * output[h] * hiddenUnit(sums[h], sigmoid) / kSigmoidSpan;
  }
  return outputScore(a);
}

int networkScore(const PatternFeatures& features, const std::array<int, kActiveRowCount>& rows,
                 const std::int16_t* weights, const std::int16_t* output, const SigmoidTable& sigmoid) {
  static_assert(kActiveRowCount % 2 == 0);
  RowSums sums(weights);
  for (int i = 0; i < kActiveRowCount; i += 2) {
    sums.addPair(static_cast<unsigned>(rows[i]), static_cast<unsigned>(rows[i + 1]));
  }
  return networkOutput(features, sums.sums(), weights, output, sigmoid);
}

}  // namespace kaimo
