#include "engine/book/book_key.h"

#include "engine/eval/pattern_shapes.h"

namespace kaimo {
namespace {

Bits transformed(Bits discs, const std::array<std::int8_t, kSquareCount>& map) {
  Bits image = 0;
  for (; discs != 0; discs &= discs - 1) image |= squareBit(map[lowestSquare(discs)]);
  return image;
}

}  // namespace

BookKey canonicalKey(Bits mover, Bits opponent) {
  BookKey best{mover, opponent};
  for (int t = 1; t < kSymmetryCount; ++t) {
    const BookKey image{transformed(mover, kSymmetryMaps[t]), transformed(opponent, kSymmetryMaps[t])};
    if (image < best) best = image;
  }
  return best;
}

std::optional<BookKey> bookKeyOf(const Board& board, int side) {
  Bits own = 0, other = 0;
  for (int s = 0; s < kSquareCount; ++s) {
    if (board[s] == kWall) return std::nullopt;
    if (board[s] == side) own |= squareBit(s);
    if (board[s] == opponentOf(side)) other |= squareBit(s);
  }
  return canonicalKey(own, other);
}

Board boardOfKey(const BookKey& key) {
  Board board;
  for (int s = 0; s < kSquareCount; ++s) {
    const Bits bit = squareBit(s);
    board[s] = (key.mover & bit) != 0 ? kBlack : (key.opponent & bit) != 0 ? kWhite : kEmpty;
  }
  return board;
}

}  // namespace kaimo
