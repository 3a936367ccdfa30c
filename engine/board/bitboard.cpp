#include "engine/board/bitboard.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kaimo {
namespace {

#if defined(__SSE2__)
// Squares [first, first + 16) that hold `value`, as bits first.. of a mask:
// one byte compare and one byte-sign gather for sixteen squares.
inline Bits sixteenSquares(const Board& board, int first, __m128i value) {
  const __m128i squares = _mm_loadu_si128(reinterpret_cast<const __m128i*>(board.data() + first));
  const auto marks = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(squares, value)));
  return Bits{marks} << first;
}

Bits squaresHolding(const Board& board, std::int8_t value) {
  const __m128i v = _mm_set1_epi8(value);
  Bits mask = 0;
  for (int first = 0; first + 16 <= kSquareCount; first += 16) mask |= sixteenSquares(board, first, v);
  // The last sixteen squares overlap the previous block; their bits agree.
  return mask | sixteenSquares(board, kSquareCount - 16, v);
}
#else
Bits squaresHolding(const Board& board, std::int8_t value) {
  Bits mask = 0;
  for (int s = 0; s < kSquareCount; ++s) mask |= Bits{board[s] == value} << s;
  return mask;
}
#endif

}  // namespace

BitBoard toBits(const Board& board) {
  return {squaresHolding(board, kBlack), squaresHolding(board, kWhite), squaresHolding(board, kEmpty)};
}

void fromBits(const BitBoard& bits, Board& board) {
  for (int s = 0; s < kSquareCount; ++s) {
    const Bits bit = squareBit(s);
    board[s] = (bits.black & bit) != 0   ? kBlack
               : (bits.white & bit) != 0 ? kWhite
               : (bits.empty & bit) != 0 ? kEmpty
                                         : kWall;
  }
}

}  // namespace kaimo
