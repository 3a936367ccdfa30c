#include "tools/train/network_fit.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>

#include "tools/train/train_data.h"

namespace kaimo::train {
namespace {

// Rough spans of the numeric features (mobility, parity, corners, inner
// corners, discs, bias), so one learning rate suits them all.
constexpr std::array<float, kFeatureCount> kFeatureScale = {16, 1, 2, 2, 32, 8};
constexpr float kRowUnit = 32768.0f;    // int16 row weight per unit of a hidden unit's z
constexpr float kOutputUnit = 8192.0f;  // int16 output weight per unit of the output's x: a = 4 O, x = a / 32768
constexpr float kRowLimit = 32767.0f / kRowUnit;
constexpr float kOutputLimit = 32767.0f / kOutputUnit;
constexpr float kDiscSpan = 200.0f;      // a score spans -100..+100 discs
constexpr float kInitialSpread = 0.01f;  // first value of a visited row, breaking the units' symmetry
constexpr float kAdagradFloor = 1e-6f;
constexpr std::array<float, 5> kInitialOutput = {0.5f, -0.5f, 0.5f, -0.5f, 0.0f};

float sigmoid(float x) { return 1.0f / (1.0f + std::exp(-x)); }

std::uint64_t mixed(std::uint64_t x) {
  x += 0x9e3779b97f4a7c15ULL;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

// int16 units per float unit of a row's weights: the numeric features' rows
// carry their feature scale.
float rowScale(long row) { return row < kFeatureCount ? kRowUnit / kFeatureScale[row] : kRowUnit; }

float clampTo(float value, float limit) { return std::max(-limit, std::min(limit, value)); }

Board swapped(const Board& board) {
  Board out = board;
  for (auto& square : out) {
    if (square == kBlack || square == kWhite) square = static_cast<std::int8_t>(1 - square);
  }
  return out;
}

}  // namespace

Sample makeSample(const TrainingPosition& position, float target, bool swapColours, float weight) {
  const Board board = swapColours ? swapped(position.board) : position.board;
  const int side = swapColours ? 1 - position.side : position.side;
  Sample sample;
  const InputSpace& space = inputSpace();
  collectInputs(board, side, space.pointers, space.layout, sample.inputs);
  sample.target = swapColours ? -target : target;
  sample.weight = weight;
  return sample;
}

FloatNetwork::FloatNetwork(long rowCount)
    : rowCount_(rowCount),
      weights_(static_cast<std::size_t>(rowCount) * kHiddenUnits, 0.0f),
      squares_(weights_.size(), kAdagradFloor),
      visited_(static_cast<std::size_t>(rowCount), 0),
      output_(kInitialOutput) {
  outputSquares_.fill(kAdagradFloor);
  for (int i = 0; i < kFeatureCount; ++i) visited_[i] = 1;
}

void FloatNetwork::touch(long row, std::uint64_t seed) {
  if (visited_[row]) return;
  visited_[row] = 1;
  for (int h = 0; h < kHiddenUnits; ++h) {
    const std::uint64_t bits = mixed(seed ^ mixed(static_cast<std::uint64_t>(row) * kHiddenUnits + h));
    const float unit = static_cast<float>(bits >> 40) / static_cast<float>(1ULL << 24);  // 0..1
    weights_[row * kHiddenUnits + h] = (2 * unit - 1) * kInitialSpread;
  }
}

FloatNetwork::Forward FloatNetwork::forward(const NetworkInputs& inputs) const {
  float z[kHiddenUnits] = {};
  for (int i = 0; i < kFeatureCount; ++i) {
    const float f = inputs.features[i] / kFeatureScale[i];
    for (int h = 0; h < kHiddenUnits; ++h) z[h] += weights_[i * kHiddenUnits + h] * f;
  }
  for (const int r : inputs.rows) {
    const float* row = &weights_[static_cast<std::size_t>(r) * kHiddenUnits];
    for (int h = 0; h < kHiddenUnits; ++h) z[h] += row[h];
  }
  Forward f;
  f.x = output_[kHiddenUnits];
  for (int h = 0; h < kHiddenUnits; ++h) {
    f.hidden[h] = sigmoid(z[h]);
    f.x += output_[h] * f.hidden[h];
  }
  f.prediction = kDiscSpan * sigmoid(f.x) - kDiscSpan / 2;
  return f;
}

float FloatNetwork::predict(const NetworkInputs& inputs) const { return forward(inputs).prediction; }

float FloatNetwork::step(const Sample& sample, const FitSettings& settings, float rate) {
  for (const int r : sample.inputs.rows) touch(r, settings.seed);
  const Forward forwardPass = forward(sample.inputs);
  const float error = forwardPass.prediction - sample.target;
  const float sx = sigmoid(forwardPass.x);
  // Loss weight * (error / 10)^2, so the gradients stay near 1.
  const float gx = sample.weight * 2.0f * error / 100.0f * kDiscSpan * sx * (1 - sx);
  float gz[kHiddenUnits];
  for (int h = 0; h < kHiddenUnits; ++h) {
    gz[h] = gx * output_[h] * forwardPass.hidden[h] * (1 - forwardPass.hidden[h]);
  }

  const auto update = [&](float& w, float& square, float gradient, float limit) {
    gradient += settings.l2 * w;
    square += gradient * gradient;
    w = clampTo(w - rate * gradient / std::sqrt(square), limit);
  };
  for (const int r : sample.inputs.rows) {
    const std::size_t base = static_cast<std::size_t>(r) * kHiddenUnits;
    for (int h = 0; h < kHiddenUnits; ++h) update(weights_[base + h], squares_[base + h], gz[h], kRowLimit);
  }
  for (int i = 0; i < kFeatureCount; ++i) {
    const float feature = sample.inputs.features[i] / kFeatureScale[i];
    if (feature == 0) continue;
    for (int h = 0; h < kHiddenUnits; ++h) {
      update(weights_[i * kHiddenUnits + h], squares_[i * kHiddenUnits + h], gz[h] * feature,
             kRowLimit * kFeatureScale[i]);
    }
  }
  for (int h = 0; h < kHiddenUnits; ++h) {
    update(output_[h], outputSquares_[h], gx * forwardPass.hidden[h], kOutputLimit);
  }
  update(output_[kHiddenUnits], outputSquares_[kHiddenUnits], gx, kOutputLimit);
  return forwardPass.prediction;
}

FitReport FloatNetwork::fit(std::vector<Sample>& samples, const FitSettings& settings,
                            const std::vector<Sample>& validation, bool keepStart) {
  std::vector<std::size_t> order(samples.size());
  std::iota(order.begin(), order.end(), 0);
  std::mt19937_64 random(settings.seed);
  FitReport report;
  std::vector<float> bestWeights;
  std::array<float, 5> bestOutput = output_;
  bool scored = false;
  if (keepStart && !validation.empty()) {
    report.validationError = meanAbsoluteError(validation);
    bestWeights = weights_;
    scored = true;
  }
  float rate = settings.learningRate;
  for (int pass = 1; pass <= settings.epochs; ++pass, rate *= settings.rateDecay) {
    std::shuffle(order.begin(), order.end(), random);
    double total = 0;
    for (const std::size_t i : order) {
      total += std::fabs(step(samples[i], settings, rate) - samples[i].target);
    }
    report.trainingError = samples.empty() ? 0 : total / samples.size();
    report.passes = pass;
    if (validation.empty()) {
      report.bestPass = pass;
      continue;
    }
    const double error = meanAbsoluteError(validation);
    if (!scored || error < report.validationError) {
      scored = true;
      report.validationError = error;
      report.bestPass = pass;
      bestWeights = weights_;
      bestOutput = output_;
    } else if (pass - report.bestPass >= settings.patience) {
      break;
    }
  }
  if (!bestWeights.empty() && report.bestPass != report.passes) {
    weights_.swap(bestWeights);
    output_ = bestOutput;
  }
  return report;
}

void FloatNetwork::restartSteps() {
  std::fill(squares_.begin(), squares_.end(), kAdagradFloor);
  outputSquares_.fill(kAdagradFloor);
}

double FloatNetwork::meanAbsoluteError(const std::vector<Sample>& samples) const {
  double total = 0;
  for (const auto& s : samples) total += std::fabs(predict(s.inputs) - s.target);
  return samples.empty() ? 0 : total / samples.size();
}

void FloatNetwork::quantise(std::vector<std::int16_t>& weights, std::array<std::int16_t, 5>& output) const {
  const auto toInt16 = [](float value) {
    const float rounded = std::nearbyint(value);
    return static_cast<std::int16_t>(std::max(-32768.0f, std::min(32767.0f, rounded)));
  };
  weights.assign(weights_.size(), 0);
  for (long r = 0; r < rowCount_; ++r) {
    const float scale = rowScale(r);
    for (int h = 0; h < kHiddenUnits; ++h) {
      weights[r * kHiddenUnits + h] = visited_[r] ? toInt16(weights_[r * kHiddenUnits + h] * scale) : 0;
    }
  }
  for (int h = 0; h < 5; ++h) output[h] = toInt16(output_[h] * kOutputUnit);
}

void FloatNetwork::load(const std::vector<std::int16_t>& weights, const std::array<std::int16_t, 5>& output) {
  for (long r = 0; r < rowCount_; ++r) {
    const float scale = rowScale(r);
    bool any = r < kFeatureCount;
    for (int h = 0; h < kHiddenUnits; ++h) {
      const std::int16_t w = weights[static_cast<std::size_t>(r) * kHiddenUnits + h];
      weights_[static_cast<std::size_t>(r) * kHiddenUnits + h] = static_cast<float>(w) / scale;
      any = any || w != 0;
    }
    visited_[r] = any ? 1 : 0;
  }
  for (int h = 0; h < 5; ++h) output_[h] = static_cast<float>(output[h]) / kOutputUnit;
}

}  // namespace kaimo::train
