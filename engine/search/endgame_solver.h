// The exact solver: the value of a position played out to the end, on the
// bit masks. It reads top to bottom as a cascade:
//   - solveExact: a principal-variation node (wide window), the entry;
//   - null-window nodes with many empty squares: the table, and the moves
//     sorted fastest first (fewest replies for the opponent);
//   - null-window nodes with six empty squares: the moves sorted by the
//     opponent's replies, no table; with five, in quadrant-parity order;
//   - hand-written code for the last four, three, two and one empty squares.
// Passes cost nothing (the other side moves on the same position); a game
// that ends is scored by scoreFinal from the mover's point of view, so a
// wipe-out counts SCORE_WIPEOUT.
//
// The empty squares are kept as a mask, updated by one exclusive or per
// move: `empty` must be exactly the squares that can still be played (walls
// and discs excluded).
#pragma once

#include "engine/board/bitboard.h"
#include "engine/search/search_context.h"

namespace kaimo {

// Table entries of exact values carry this side: the value of a position read
// to the end does not depend on the colours' names, only on whose turn it is.
constexpr int kExactTableSide = 2;

// The exact value for the owner of `own`, fail-soft in (alpha, beta). When
// the thread aborts (a stop) the result is meaningless and
// thread.abortReason says why.
int solveExact(SearchThread& thread, Bits own, Bits opp, Bits empty, int alpha, int beta);

// The exact value for the owner of `own`, read around `guess` (an
// estimate, any score; see guessed_window.h).
int solveExactNear(SearchThread& thread, Bits own, Bits opp, Bits empty, int guess);

}  // namespace kaimo
