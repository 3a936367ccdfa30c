// The network of "狐": four hidden units over the sparse pattern rows and the
// numeric features, one output unit, and the score scale it maps onto.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/eval/pattern_inputs.h"

namespace kaimo {

// trunc(4096 / (1 + e^(-(i - 32768) / 4096))) for i = 0..65535, so the hidden
// units need no exponential.
class SigmoidTable {
 public:
  static constexpr int kCentre = 32768;
  static constexpr int kSaturated = 4096;  // a hidden unit beyond the table's range

  SigmoidTable();
  int operator[](int i) const { return entries_[i]; }

 private:
  std::vector<std::int16_t> entries_;
};

// A hidden unit's value 0..4096 from its 32-bit sum.
int hiddenUnit(int sum, const SigmoidTable& sigmoid);

// The score from black's point of view, strictly above -100000 and at most
// +100000. `weights` holds the rows (four int16 each), `output` the five
// output weights.
int networkScore(const std::array<int, kFeatureCount>& features, const std::array<int, kActiveRowCount>& rows,
                 const std::int16_t* weights, const std::int16_t* output, const SigmoidTable& sigmoid);

inline int networkScore(const NetworkInputs& inputs, const std::int16_t* weights, const std::int16_t* output,
                        const SigmoidTable& sigmoid) {
  return networkScore(inputs.features, inputs.rows, weights, output, sigmoid);
}

}  // namespace kaimo
