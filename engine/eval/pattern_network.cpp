#include "engine/eval/pattern_network.h"

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/eval/score.h"

namespace kaimo {
namespace {

constexpr int kHiddenScale = 8;         // a unit's sum is divided by this before the sigmoid
constexpr int kSigmoidSpan = 4096;      // the table's input scale and output scale
constexpr int kOutputGain = 4;          // output weights count four times
constexpr double kOutputSpan = 32768.0; // the output unit's input scale
// 200000 / 4096: the output 0..4096 spans a wipe-out either way.
constexpr double kScorePerOutput = 48.828125;

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

namespace {

// The four hidden units' sums over the pattern rows. A row's four int16
// weights are 64 bits: two rows interleaved and multiplied by one add each
// unit's pair into one 32-bit lane, so a pair of rows costs an unpack, a
// multiply-add and an add. Integer sums: the same values in any order.
void addRows(const std::array<int, kActiveRowCount>& rows, const std::int16_t* weights, int (&sums)[kHiddenUnits]) {
#if defined(__SSE2__)
  static_assert(kHiddenUnits == 4 && kActiveRowCount % 2 == 0);
  const auto rowAt = [weights](int row) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(weights + static_cast<long>(kHiddenUnits) * row));
  };
  const __m128i ones = _mm_set1_epi16(1);
  __m128i total = _mm_setzero_si128();
  for (int i = 0; i < kActiveRowCount; i += 2) {
    const __m128i pair = _mm_unpacklo_epi16(rowAt(rows[i]), rowAt(rows[i + 1]));
    total = _mm_add_epi32(total, _mm_madd_epi16(pair, ones));
  }
  alignas(16) int lanes[kHiddenUnits];
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes), total);
  for (int h = 0; h < kHiddenUnits; ++h) sums[h] += lanes[h];
#else
  for (const int w : rows) {
    const std::int16_t* row = weights + static_cast<long>(kHiddenUnits) * w;
    for (int h = 0; h < kHiddenUnits; ++h) sums[h] += row[h];
  }
#endif
}

}  // namespace

int networkScore(const std::array<int, kFeatureCount>& features, const std::array<int, kActiveRowCount>& rows,
                 const std::int16_t* weights, const std::int16_t* output, const SigmoidTable& sigmoid) {
  int sums[kHiddenUnits] = {};
  for (int i = 0; i < kFeatureCount; ++i) {
    const std::int16_t* row = weights + kHiddenUnits * i;
    for (int h = 0; h < kHiddenUnits; ++h) sums[h] += row[h] * features[i];
  }
  addRows(rows, weights, sums);
  int a = kOutputGain * output[kHiddenUnits];
  for (int h = 0; h < kHiddenUnits; ++h) {
    a += kOutputGain * output[h] * hiddenUnit(sums[h], sigmoid) / kSigmoidSpan;
  }
  const float y = static_cast<float>(kSigmoidSpan / (1.0 + std::exp(-a / kOutputSpan)));
  return static_cast<int>(static_cast<double>(y) * kScorePerOutput - SCORE_WIPEOUT);
}

}  // namespace kaimo
