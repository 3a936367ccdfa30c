// Move ordering from the masks alone, shared by the midgame search and the
// exact solver: the table's move first, then the moves that leave the
// opponent the fewest replies (a corner reply counted twice), so the move
// most likely to cut is searched first and the tree below it stays narrow.
#pragma once

#include <cstdint>

#include "engine/board/bitboard.h"

namespace kaimo {

inline constexpr Bits kCornerSquares = (Bits{1} << 0) | (Bits{1} << 9) | (Bits{1} << 90) | (Bits{1} << 99);

// The squares next to any square of `b` (in the eight directions).
inline Bits adjacentSquares(Bits b) {
  constexpr Bits kNotRow0 = [] {
    Bits m = 0;
    for (int s = 0; s < 100; ++s)
      if (s % 10 != 0) m |= Bits{1} << s;
    return m;
  }();
  constexpr Bits kNotRow9 = [] {
    Bits m = 0;
    for (int s = 0; s < 100; ++s)
      if (s % 10 != 9) m |= Bits{1} << s;
    return m;
  }();
  const Bits up = (b << 1) & kNotRow0, down = (b >> 1) & kNotRow9;
  const Bits column = b | up | down;
  return (column | column << 10 | column >> 10 | up | down) & ~b;
}

// What OrderedMove::replies holds when the order did not generate them:
// more than any mask of squares.
inline constexpr Bits kRepliesUnknown = ~Bits{0};

struct OrderedMove {
  int square;
  int key;  // lower first
  Bits flips;
  // The opponent's legal moves after this one, when the key needed them
  // (the child's own move generation, done once), else kRepliesUnknown.
  // No default: a MoveOrder would set it in all its hundred moves.
  Bits replies;
};

// At most one move per square.
struct MoveOrder {
  int count = 0;
  OrderedMove moves[kSquareCount];

  // Adds a move in key order; equal keys keep the order they came in.
  void insert(const OrderedMove& move) {
    int i = count++;
    while (i > 0 && moves[i - 1].key > move.key) {
      moves[i] = moves[i - 1];
      --i;
    }
    moves[i] = move;
  }

  // Puts the move on `square`, if there is one, before the others, which
  // keep their order.
  void moveToFront(int square) {
    for (int i = 0; i < count; ++i) {
      if (moves[i].square != square) continue;
      const OrderedMove move = moves[i];
      for (; i > 0; --i) moves[i] = moves[i - 1];
      moves[0] = move;
      return;
    }
  }
};

// The opponent's legal moves after the owner of `own` plays `square`.
inline Bits repliesTo(Bits own, Bits opp, Bits empty, int square, Bits flips) {
  const Bits bit = squareBit(square);
  return bitLegalMoves(opp & ~flips, own | flips | bit, empty & ~bit);
}

// The legal moves of the owner of `own`: `known` when the parent's order
// generated them (OrderedMove::replies), else generated now.
inline Bits movesOrKnown(Bits own, Bits opp, Bits empty, Bits known) {
  return known != kRepliesUnknown ? known : bitLegalMoves(own, opp, empty);
}

// How few replies a move leaves the opponent (`replies`, see repliesTo), a
// corner reply counted twice. Lower first.
inline int fewestRepliesKey(Bits /*own*/, Bits /*opp*/, Bits /*empty*/, int /*square*/, Bits /*flips*/, Bits replies) {
  return bitCount(replies) + bitCount(replies & kCornerSquares);
}

// How fast a move is to search: fewestRepliesKey four times, and the empty
// squares next to the mover's discs (the replies to come). Lower first.
inline int fastestFirstKey(Bits own, Bits opp, Bits empty, int square, Bits flips, Bits replies) {
  const Bits bit = squareBit(square);
  return 4 * fewestRepliesKey(own, opp, empty, square, flips, replies) +
         bitCount(adjacentSquares(own | flips | bit) & (empty & ~bit));
}

// Ranks every move of `moves` (legal moves of the owner of `own`) by
// `Key` (fastestFirstKey unless given: a template argument, so that it is
// inlined); the table move `first` (or -1) goes before all. Returns the
// number of moves ranked.
template <auto Key = &fastestFirstKey>
inline int orderMoves(Bits own, Bits opp, Bits empty, Bits moves, int first, MoveOrder& order) {
  order.count = 0;
  for (; moves != 0; moves &= moves - 1) {
    const int square = lowestSquare(moves);
    const Bits flips = bitFlips(own, opp, square);
    // Equal keys stay in square order.
    if (square == first) {
      order.insert({square, -1, flips, kRepliesUnknown});
    } else {
      const Bits replies = repliesTo(own, opp, empty, square, flips);
      order.insert({square, Key(own, opp, empty, square, flips, replies), flips, replies});
    }
  }
  return order.count;
}

}  // namespace kaimo
