#include "engine/eval/pattern_network.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/eval/score.h"

namespace kaimo {
namespace {

constexpr int kHiddenScale = 8;          // a unit's sum is divided by this before the sigmoid
constexpr int kSigmoidSpan = 4096;       // the table's input scale and output scale
constexpr int kOutputGain = 4;           // output weights count four times
constexpr double kOutputSpan = 32768.0;  // the output unit's input scale
// 200000 / 4096: the output 0..4096 spans a wipe-out either way.
constexpr double kScorePerOutput = 48.828125;
// Output sums with |a| below this are read from a table: beyond it the
// score is within four discs of a wipe-out, where leaves are rare.
constexpr int kTabledOutputs = 1 << 17;
constexpr int kBlockBits = 6;  // 64 sums a block

int computedOutputScore(int a) {
  const float y = static_cast<float>(kSigmoidSpan / (1.0 + std::exp(-a / kOutputSpan)));
  return static_cast<int>(static_cast<double>(y) * kScorePerOutput - SCORE_WIPEOUT);
}

// The score never falls as the sum grows, and rises by at most 1.53 a sum
// (its steepest slope, at 0), so by 0, 1 or 2: a block of 64 sums keeps the
// score of its first sum and, bit k for its sum k, whether the score rose
// there and whether by two. 96 KB that stay in the cache, where a plain
// table of the same sums takes 1 MB and misses it at most leaves.
struct OutputBlock {
  std::int32_t first;
  std::uint64_t rises;
  std::uint64_t doubleRises;
};

struct OutputTable {
  std::vector<OutputBlock> blocks;
  bool usable = true;  // false if a rise ever fell outside 0..2: then every score is computed
};

OutputTable makeOutputTable() {
  OutputTable table;
  table.blocks.resize((2 * kTabledOutputs) >> kBlockBits);
  for (std::size_t b = 0; b < table.blocks.size(); ++b) {
    OutputBlock& block = table.blocks[b];
    const int start = static_cast<int>(b << kBlockBits) - kTabledOutputs;
    block.first = computedOutputScore(start);
    int previous = block.first;
    for (int k = 1; k < (1 << kBlockBits); ++k) {
      const int score = computedOutputScore(start + k);
      const int rise = score - previous;
      table.usable = table.usable && rise >= 0 && rise <= 2;
      block.rises |= std::uint64_t{rise >= 1} << k;
      block.doubleRises |= std::uint64_t{rise == 2} << k;
      previous = score;
    }
  }
  return table;
}

// Built on first use: a program that never evaluates with "狐" never fills it.
const OutputTable& outputTable() {
  static const OutputTable table = makeOutputTable();
  return table;
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
  static const OutputTable& table = outputTable();
  if (a < -kTabledOutputs || a >= kTabledOutputs || !table.usable) return computedOutputScore(a);
  const auto i = static_cast<unsigned>(a + kTabledOutputs);
  const OutputBlock& block = table.blocks[i >> kBlockBits];
  const std::uint64_t upToA = (std::uint64_t{2} << (i & ((1u << kBlockBits) - 1))) - 1;  // bits 0..k
  return block.first + __builtin_popcountll(block.rises & upToA) + __builtin_popcountll(block.doubleRises & upToA);
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
