#include "engine/board/mobility.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace kaimo {
namespace {

int twoPasses(Bits black, Bits white, Bits empty) {
  return bitCount(bitLegalMoves(black, white, empty)) - bitCount(bitLegalMoves(white, black, empty));
}

#if defined(__x86_64__)
// The SSE2 move generator of bitboard.h, each instruction on two masks: the
// byte shift that carries bits between the 64-bit words of a mask works
// within each 128-bit half, so the halves never mix.
namespace avx2 {

#define KAIMO_AVX2 __attribute__((target("avx2,popcnt")))

KAIMO_AVX2 inline __m256i pair(Bits low, Bits high) {
  return _mm256_set_epi64x(static_cast<long long>(high >> 64), static_cast<long long>(static_cast<std::uint64_t>(high)),
                           static_cast<long long>(low >> 64), static_cast<long long>(static_cast<std::uint64_t>(low)));
}

template <int Step>
KAIMO_AVX2 inline __m256i shifted(__m256i x) {
  if constexpr (Step > 0) {
    return _mm256_or_si256(_mm256_slli_epi64(x, Step), _mm256_srli_epi64(_mm256_slli_si256(x, 8), 64 - Step));
  } else {
    return _mm256_or_si256(_mm256_srli_epi64(x, -Step), _mm256_slli_epi64(_mm256_srli_si256(x, 8), 64 + Step));
  }
}

template <int Step>
KAIMO_AVX2 inline __m256i movesAlong(__m256i own, __m256i opp, __m256i oppInner, __m256i empty) {
  const __m256i o = Step % 10 != 0 ? oppInner : opp;
  __m256i run = _mm256_and_si256(o, shifted<Step>(own));
  run = _mm256_or_si256(run, _mm256_and_si256(o, shifted<Step>(run)));
  const __m256i pairs = _mm256_and_si256(o, shifted<Step>(o));
  run = _mm256_or_si256(run, _mm256_and_si256(pairs, shifted<2 * Step>(run)));
  run = _mm256_or_si256(run, _mm256_and_si256(pairs, shifted<2 * Step>(run)));
  run = _mm256_or_si256(run, _mm256_and_si256(pairs, shifted<2 * Step>(run)));
  return _mm256_and_si256(empty, shifted<Step>(run));
}

KAIMO_AVX2 int onePass(Bits black, Bits white, Bits emptyBits) {
  const Bits inner = bits_detail::runSquaresOf(1);
  const __m256i own = pair(black, white), opp = pair(white, black);
  const __m256i oppInner = pair(white & inner, black & inner), empty = pair(emptyBits, emptyBits);
  const __m256i a =
      _mm256_or_si256(movesAlong<-11>(own, opp, oppInner, empty), movesAlong<-10>(own, opp, oppInner, empty));
  const __m256i b =
      _mm256_or_si256(movesAlong<-9>(own, opp, oppInner, empty), movesAlong<-1>(own, opp, oppInner, empty));
  const __m256i c =
      _mm256_or_si256(movesAlong<+1>(own, opp, oppInner, empty), movesAlong<+9>(own, opp, oppInner, empty));
  const __m256i d =
      _mm256_or_si256(movesAlong<+10>(own, opp, oppInner, empty), movesAlong<+11>(own, opp, oppInner, empty));
  const __m256i moves = _mm256_or_si256(_mm256_or_si256(a, b), _mm256_or_si256(c, d));
  alignas(32) std::uint64_t words[4];
  _mm256_store_si256(reinterpret_cast<__m256i*>(words), moves);
  return __builtin_popcountll(words[0]) + __builtin_popcountll(words[1]) - __builtin_popcountll(words[2]) -
         __builtin_popcountll(words[3]);
}

#undef KAIMO_AVX2

}  // namespace avx2

// The move generator of VBMI2 (legal_moves.cpp) in 512-bit registers: each
// 128-bit quarter holds one colour along one step, black in the low half
// and white in the high one, two steps that go the same way in each half;
// the concatenating shift carries bits between the words of a quarter and
// takes a count per word. Four passes for both colours' eight directions.
namespace vbmi2 {

#define KAIMO_VBMI2 __attribute__((target("avx2,avx512f,avx512vl,avx512bw,avx512vbmi2,avx512vpopcntdq,popcnt")))

// The words of `a` in both quarters of the low half, those of `b` in the high half.
KAIMO_VBMI2 inline __m512i halves(Bits a, Bits b) {
  const auto word = [](Bits x, int high) {
    return static_cast<long long>(static_cast<std::uint64_t>(x >> (64 * high)));
  };
  return _mm512_set_epi64(word(b, 1), word(b, 0), word(b, 1), word(b, 0), word(a, 1), word(a, 0), word(a, 1),
                          word(a, 0));
}

template <bool Up>
KAIMO_VBMI2 inline __m512i shifted(__m512i x, __m512i by) {
  if constexpr (Up) {
    return _mm512_shldv_epi64(x, _mm512_bslli_epi128(x, 8), by);
  } else {
    return _mm512_shrdv_epi64(x, _mm512_bsrli_epi128(x, 8), by);
  }
}

// The steps `first` (the lower quarter of each half) and `second`.
template <bool Up>
KAIMO_VBMI2 inline __m512i movesAlong(int first, int second, __m512i own, __m512i o, __m512i empty) {
  const __m512i one = _mm512_set_epi64(second, second, first, first, second, second, first, first);
  const __m512i two = _mm512_add_epi64(one, one), four = _mm512_add_epi64(two, two);
  __m512i run = _mm512_and_si512(o, shifted<Up>(own, one));
  run = _mm512_or_si512(run, _mm512_and_si512(o, shifted<Up>(run, one)));
  const __m512i pairs = _mm512_and_si512(o, shifted<Up>(o, one));
  run = _mm512_or_si512(run, _mm512_and_si512(pairs, shifted<Up>(run, two)));
  const __m512i quads = _mm512_and_si512(pairs, shifted<Up>(pairs, two));
  run = _mm512_or_si512(run, _mm512_and_si512(quads, shifted<Up>(run, four)));
  return _mm512_and_si512(empty, shifted<Up>(run, one));
}

KAIMO_VBMI2 int onePass(Bits black, Bits white, Bits emptyBits) {
  const Bits inner = bits_detail::runSquaresOf(1);
  const __m512i own = halves(black, white), empty = halves(emptyBits, emptyBits);
  // The steps ±1 and ±9 change rows, ±10 does not (its quarter reads all
  // opponent discs), ±11 does.
  const __m512i rowChange = halves(white & inner, black & inner);
  const __m512i column = _mm512_mask_blend_epi64(0x33, rowChange, halves(white, black));
  const __m512i moves = _mm512_or_si512(
      _mm512_or_si512(movesAlong<true>(1, 9, own, rowChange, empty), movesAlong<true>(10, 11, own, column, empty)),
      _mm512_or_si512(movesAlong<false>(1, 9, own, rowChange, empty), movesAlong<false>(10, 11, own, column, empty)));
  // The union of each half's two quarters, then its count.
  // The masked form with every lane kept: the plain one leaves its source
  // undefined, which g++ 12 reports as maybe uninitialized.
  const __m512i swapped = _mm512_mask_shuffle_i64x2(moves, 0xff, moves, moves, 0xb1);
  const __m512i counts = _mm512_popcnt_epi64(_mm512_or_si512(moves, swapped));
  alignas(64) std::uint64_t words[8];
  _mm512_store_si512(words, counts);
  return static_cast<int>(words[0] + words[1]) - static_cast<int>(words[4] + words[5]);
}

#undef KAIMO_VBMI2

}  // namespace vbmi2
#endif

}  // namespace

namespace mobility_detail {

std::vector<MobilityFn> runnableMobilities() {
  std::vector<MobilityFn> runnable{twoPasses};
#if defined(__x86_64__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) runnable.push_back(avx2::onePass);
  if (__builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512bw") &&
      __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("avx512vpopcntdq")) {
    runnable.push_back(vbmi2::onePass);
  }
#endif
  return runnable;
}

}  // namespace mobility_detail

int bitMobilityDifference(Bits black, Bits white, Bits empty) {
  static const mobility_detail::MobilityFn mobility = mobility_detail::runnableMobilities().back();
  return mobility(black, white, empty);
}

}  // namespace kaimo
