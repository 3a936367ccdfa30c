// A position as the opening book knows it: the discs of the side to move and
// of its opponent, in the one orientation of the eight board symmetries that
// gives the smallest masks. A position, its rotations and reflections, and
// the same discs with the colours exchanged (the mover's discs are the
// mover's whatever their colour) share one key, so the book holds each once.
#pragma once

#include <optional>

#include "engine/board/bitboard.h"

namespace kaimo {

struct BookKey {
  Bits mover = 0;
  Bits opponent = 0;

  friend bool operator==(const BookKey&, const BookKey&) = default;
  friend bool operator<(const BookKey& a, const BookKey& b) {
    return a.mover != b.mover ? a.mover < b.mover : a.opponent < b.opponent;
  }
};

// The key of `board` with `side` to move, or nothing for a board with a wall
// (an edited position, which no game from the initial position reaches).
std::optional<BookKey> bookKeyOf(const Board& board, int side);

// The smallest image of (mover, opponent) under the eight symmetries of the
// board (kSymmetryMaps, which also place the patterns of "狐").
BookKey canonicalKey(Bits mover, Bits opponent);

// A board with the key's discs, the mover's as black; black is to move.
Board boardOfKey(const BookKey& key);

}  // namespace kaimo
