// The network of "狐" in floating point, for fitting: the same forward
// function as the integer evaluation (hidden z = sum / 32768 through the
// sigmoid, output x = a / 32768, score 200 * sigmoid(x) - 100 discs), with
// the weights kept inside what int16 can hold so that quantising only rounds.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/eval/pattern_inputs.h"
#include "tools/train/position_record.h"

namespace kaimo::train {

struct Sample {
  NetworkInputs inputs;
  float target;  // black's final margin in discs
  float weight;
};

// The inputs of a position as the evaluator sees them, with `target` (black's
// margin); with `swapColours` the position with black and white exchanged
// (and the side to move too), whose target is the negated one.
Sample makeSample(const TrainingPosition& position, float target, bool swapColours, float weight);

struct FitSettings {
  int epochs = 12;             // at most, with validation samples
  float learningRate = 0.05f;  // Adagrad step
  float rateDecay = 1.0f;      // the step is multiplied by this after every pass
  float l2 = 1e-4f;            // pull of every visited weight towards 0, per visit
  int patience = 2;            // passes without a better validation error before the fit stops
  std::uint64_t seed = 1;
};

struct FitReport {
  double trainingError = 0;    // mean absolute error of the last pass, in discs
  double validationError = 0;  // of the weights kept
  int passes = 0;              // made
  int bestPass = 0;            // whose weights are kept, 1-based (0: the starting weights)
};

class FloatNetwork {
 public:
  explicit FloatNetwork(long rowCount);

  // Discs from black's point of view.
  float predict(const NetworkInputs& inputs) const;
  // Shuffled passes of stochastic gradient descent with Adagrad steps. With
  // `validation` samples the fit keeps the weights of the pass that scored
  // them best and stops once `patience` passes in a row did no better; with
  // `keepStart` too, the weights it started from compete as pass 0.
  FitReport fit(std::vector<Sample>& samples, const FitSettings& settings, const std::vector<Sample>& validation = {},
                bool keepStart = false);
  double meanAbsoluteError(const std::vector<Sample>& samples) const;
  // Forgets the step sizes learnt so far, so that a network fitted to one
  // stage can start the next with full steps.
  void restartSteps();

  // Rows never visited stay 0. `weights` gets rowCount * 4 values, `output` 5.
  void quantise(std::vector<std::int16_t>& weights, std::array<std::int16_t, 5>& output) const;
  // The inverse: starts from weights a fit wrote before. A row that is all 0
  // counts as never visited.
  void load(const std::vector<std::int16_t>& weights, const std::array<std::int16_t, 5>& output);

 private:
  struct Forward {
    float hidden[4];
    float x;
    float prediction;
  };
  Forward forward(const NetworkInputs& inputs) const;
  // One gradient step; returns the prediction before it.
  float step(const Sample& sample, const FitSettings& settings, float rate);
  void touch(long row, std::uint64_t seed);

  long rowCount_;
  std::vector<float> weights_;  // z units: rows * 4; the feature rows scaled by kFeatureScale
  std::vector<float> squares_;  // Adagrad accumulators, same shape
  std::vector<std::uint8_t> visited_;
  std::array<float, 5> output_;  // x units
  std::array<float, 5> outputSquares_{};
};

}  // namespace kaimo::train
