#include "engine/board/bitboard.h"

#include <vector>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace kaimo {
namespace bits_detail {

#if defined(__x86_64__)
// The SSE2 move generator with two directions in each 256-bit register, one
// in each 128-bit half: the directions of a pair step the same way (towards
// higher or lower squares) by different counts, so one variable shift per
// 64-bit word moves both, and the byte shift that carries bits between the
// words of a mask works within each half. Half the instructions of SSE2.
namespace avx2 {

#define KAIMO_AVX2 __attribute__((target("avx2")))

// The shift counts of a pair of steps: each word of a half by its step,
// the bits carried into its neighbour word by 64 minus the step.
struct Counts {
  __m256i word;
  __m256i carry;
};

KAIMO_AVX2 inline Counts countsOf(int low, int high) {
  return {_mm256_set_epi64x(high, high, low, low), _mm256_set_epi64x(64 - high, 64 - high, 64 - low, 64 - low)};
}

template <bool Up>
KAIMO_AVX2 inline __m256i shifted(__m256i x, const Counts& by) {
  if constexpr (Up) {
    return _mm256_or_si256(_mm256_sllv_epi64(x, by.word), _mm256_srlv_epi64(_mm256_slli_si256(x, 8), by.carry));
  } else {
    return _mm256_or_si256(_mm256_srlv_epi64(x, by.word), _mm256_sllv_epi64(_mm256_srli_si256(x, 8), by.carry));
  }
}

// movesAlong of bitboard.h for the steps (low, high) in one pass; `o` holds
// in each half the opponent discs that a run along its step can flip.
template <bool Up>
KAIMO_AVX2 inline __m256i movesAlong(int low, int high, __m256i own, __m256i o, __m256i empty) {
  const Counts one = countsOf(low, high), two = countsOf(2 * low, 2 * high);
  __m256i run = _mm256_and_si256(o, shifted<Up>(own, one));
  run = _mm256_or_si256(run, _mm256_and_si256(o, shifted<Up>(run, one)));
  const __m256i pairs = _mm256_and_si256(o, shifted<Up>(o, one));
  run = _mm256_or_si256(run, _mm256_and_si256(pairs, shifted<Up>(run, two)));
  run = _mm256_or_si256(run, _mm256_and_si256(pairs, shifted<Up>(run, two)));
  run = _mm256_or_si256(run, _mm256_and_si256(pairs, shifted<Up>(run, two)));
  return _mm256_and_si256(empty, shifted<Up>(run, one));
}

KAIMO_AVX2 inline __m256i both(Bits low, Bits high) {
  return _mm256_set_epi64x(static_cast<long long>(high >> 64), static_cast<long long>(static_cast<std::uint64_t>(high)),
                           static_cast<long long>(low >> 64), static_cast<long long>(static_cast<std::uint64_t>(low)));
}

// The masks in both halves of a register, as the generators read them. The
// steps of one row (±1) and the diagonal ±9 change rows, ±10 does not, so
// the pair (1, 9) reads `inner` and the pair (10, 11) `columnAndDiagonal`.
struct Operands {
  __m256i own, empty, inner, columnAndDiagonal;
};

KAIMO_AVX2 inline Operands operandsOf(Bits ownBits, Bits oppBits, Bits emptyBits) {
  const Bits innerBits = oppBits & runSquaresOf(1);
  return {both(ownBits, ownBits), both(emptyBits, emptyBits), both(innerBits, innerBits), both(oppBits, innerBits)};
}

// The moves of four registers of pairs of directions as one mask.
KAIMO_AVX2 inline Bits unionOf(__m256i a, __m256i b, __m256i c, __m256i d) {
  const __m256i moves = _mm256_or_si256(_mm256_or_si256(a, b), _mm256_or_si256(c, d));
  const __m128i halves = _mm_or_si128(_mm256_castsi256_si128(moves), _mm256_extracti128_si256(moves, 1));
  const auto lo = static_cast<std::uint64_t>(_mm_cvtsi128_si64(halves));
  const auto hi = static_cast<std::uint64_t>(_mm_extract_epi64(halves, 1));
  return Bits{hi} << 64 | lo;
}

KAIMO_AVX2 Bits legalMoves(Bits ownBits, Bits oppBits, Bits emptyBits) {
  const Operands m = operandsOf(ownBits, oppBits, emptyBits);
  return unionOf(
      movesAlong<true>(1, 9, m.own, m.inner, m.empty), movesAlong<true>(10, 11, m.own, m.columnAndDiagonal, m.empty),
      movesAlong<false>(1, 9, m.own, m.inner, m.empty), movesAlong<false>(10, 11, m.own, m.columnAndDiagonal, m.empty));
}

#undef KAIMO_AVX2

}  // namespace avx2

// The AVX2 generator where the processor has AVX-512's concatenating
// shifts (VBMI2, with 256-bit registers): one instruction shifts each word
// with the bits its neighbour word carries in, where AVX2 takes three. The
// runs grow 1, 1, 2 and 4 squares over runs of opponent discs, pairs and
// quads: one dependent shift fewer than two steps of two.
namespace vbmi2 {

#define KAIMO_VBMI2 __attribute__((target("avx2,avx512f,avx512vl,avx512vbmi2")))

template <bool Up>
KAIMO_VBMI2 inline __m256i shifted(__m256i x, __m256i by) {
  if constexpr (Up) {
    return _mm256_shldv_epi64(x, _mm256_bslli_epi128(x, 8), by);
  } else {
    return _mm256_shrdv_epi64(x, _mm256_bsrli_epi128(x, 8), by);
  }
}

template <bool Up>
KAIMO_VBMI2 inline __m256i movesAlong(int low, int high, __m256i own, __m256i o, __m256i empty) {
  const __m256i one = _mm256_set_epi64x(high, high, low, low);
  const __m256i two = _mm256_add_epi64(one, one), four = _mm256_add_epi64(two, two);
  __m256i run = _mm256_and_si256(o, shifted<Up>(own, one));
  run = _mm256_or_si256(run, _mm256_and_si256(o, shifted<Up>(run, one)));
  const __m256i pairs = _mm256_and_si256(o, shifted<Up>(o, one));
  run = _mm256_or_si256(run, _mm256_and_si256(pairs, shifted<Up>(run, two)));
  const __m256i quads = _mm256_and_si256(pairs, shifted<Up>(pairs, two));
  run = _mm256_or_si256(run, _mm256_and_si256(quads, shifted<Up>(run, four)));
  return _mm256_and_si256(empty, shifted<Up>(run, one));
}

KAIMO_VBMI2 Bits legalMoves(Bits ownBits, Bits oppBits, Bits emptyBits) {
  const avx2::Operands m = avx2::operandsOf(ownBits, oppBits, emptyBits);
  return avx2::unionOf(
      movesAlong<true>(1, 9, m.own, m.inner, m.empty), movesAlong<true>(10, 11, m.own, m.columnAndDiagonal, m.empty),
      movesAlong<false>(1, 9, m.own, m.inner, m.empty), movesAlong<false>(10, 11, m.own, m.columnAndDiagonal, m.empty));
}

#undef KAIMO_VBMI2

}  // namespace vbmi2
#endif

std::vector<LegalMovesFn> runnableLegalMoves() {
  std::vector<LegalMovesFn> runnable{legalMovesPortable};
#if defined(__SSE2__)
  runnable.push_back(sse::legalMoves);
#endif
#if defined(__x86_64__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) runnable.push_back(avx2::legalMoves);
  if (__builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi2")) {
    runnable.push_back(vbmi2::legalMoves);
  }
#endif
  return runnable;
}

LegalMovesFn chooseLegalMoves() { return runnableLegalMoves().back(); }

}  // namespace bits_detail
}  // namespace kaimo
