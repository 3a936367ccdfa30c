// The network of "狐": four hidden units over the sparse pattern rows and the
// numeric features, one output unit, and the score scale it maps onto.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The score from black's point of view of the output unit's sum `a`:
// trunc(y * 48.828125 - 100000) with y = 4096 / (1 + e^(-a / 32768)) rounded
// to a float. Read from a table where leaves' sums fall (the same function
// filled it), computed beyond.
int outputScore(int a);

// The four hidden units' sums over weight rows. A row's four int16 weights
// are 64 bits: two rows interleaved and multiplied by ones add each unit's
// pair into one 32-bit lane, so a pair of rows costs an unpack, a
// multiply-add and an add. Integer sums: the same values in any order.
class RowSums {
 public:
  explicit RowSums(const std::int16_t* weights) : weights_(weights) {}

  void addPair(unsigned rowA, unsigned rowB) {
#if defined(__SSE2__)
    const __m128i pair = _mm_unpacklo_epi16(rowAt(rowA), rowAt(rowB));
    total_ = _mm_add_epi32(total_, _mm_madd_epi16(pair, _mm_set1_epi16(1)));
#else
    add(rowA);
    add(rowB);
#endif
  }

  std::array<int, kHiddenUnits> sums() const {
#if defined(__SSE2__)
    alignas(16) std::array<int, kHiddenUnits> lanes;
    _mm_store_si128(reinterpret_cast<__m128i*>(lanes.data()), total_);
    return lanes;
#else
    return total_;
#endif
  }

 private:
  const std::int16_t* row(unsigned w) const { return weights_ + std::size_t{kHiddenUnits} * w; }
#if defined(__SSE2__)
  __m128i rowAt(unsigned w) const { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row(w))); }
  __m128i total_ = _mm_setzero_si128();
#else
  void add(unsigned w) {
    for (int h = 0; h < kHiddenUnits; ++h) total_[h] += row(w)[h];
  }
  std::array<int, kHiddenUnits> total_{};
#endif
  const std::int16_t* weights_;
};

// The score from black's point of view, strictly above -100000 and at most
// +100000, from the sums of the pattern rows and the features. `weights`
// holds the rows (four int16 each; the features' rows first), `output` the
// five output weights.
int networkOutput(const PatternFeatures& features, std::array<int, kHiddenUnits> sums, const std::int16_t* weights,
                  const std::int16_t* output, const SigmoidTable& sigmoid);

// The same from the rows themselves.
int networkScore(const PatternFeatures& features, const std::array<int, kActiveRowCount>& rows,
                 const std::int16_t* weights, const std::int16_t* output, const SigmoidTable& sigmoid);

inline int networkScore(const NetworkInputs& inputs, const std::int16_t* weights, const std::int16_t* output,
                        const SigmoidTable& sigmoid) {
  return networkScore(inputs.features, inputs.rows, weights, output, sigmoid);
}

}  // namespace kaimo
