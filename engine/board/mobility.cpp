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
  const __m256i a = _mm256_or_si256(movesAlong<-11>(own, opp, oppInner, empty), movesAlong<-10>(own, opp, oppInner, empty));
  const __m256i b = _mm256_or_si256(movesAlong<-9>(own, opp, oppInner, empty), movesAlong<-1>(own, opp, oppInner, empty));
  const __m256i c = _mm256_or_si256(movesAlong<+1>(own, opp, oppInner, empty), movesAlong<+9>(own, opp, oppInner, empty));
  const __m256i d = _mm256_or_si256(movesAlong<+10>(own, opp, oppInner, empty), movesAlong<+11>(own, opp, oppInner, empty));
  const __m256i moves = _mm256_or_si256(_mm256_or_si256(a, b), _mm256_or_si256(c, d));
  alignas(32) std::uint64_t words[4];
  _mm256_store_si256(reinterpret_cast<__m256i*>(words), moves);
  return __builtin_popcountll(words[0]) + __builtin_popcountll(words[1]) - __builtin_popcountll(words[2]) -
         __builtin_popcountll(words[3]);
}

#undef KAIMO_AVX2

}  // namespace avx2
#endif

using MobilityFn = int (*)(Bits black, Bits white, Bits empty);

MobilityFn chooseMobility() {
#if defined(__x86_64__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) return avx2::onePass;
#endif
  return twoPasses;
}

}  // namespace

int bitMobilityDifference(Bits black, Bits white, Bits empty) {
  static const MobilityFn mobility = chooseMobility();
  return mobility(black, white, empty);
}

}  // namespace kaimo
