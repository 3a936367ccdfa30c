// Discs that can never be turned over, whatever is played: they bound the
// final margin of a read to the end (see the exact solver's stability
// cutoff).
//
// A move turns a disc over only along one of the four lines through it (the
// column, the row and the two diagonals), bracketing it between the new disc
// and a disc of the mover. So a disc is stable when along each line either
//   - the line holds no empty square (no move can be made on it),
//   - a neighbour on the line is off the board or a wall (nothing can
//     bracket it from that side), or
//   - a neighbour on the line is a stable disc of its own colour (the two
//     would have to turn together, and that one never does).
// Starting from none, the rule is applied until no disc is added. It finds
// most stable discs (corners, edges grown from them, full lines), never one
// that is not: a line split by a wall counts as full only when all of it is.
#pragma once

#include "engine/board/bitboard.h"

namespace kaimo {

// The discs of `discs` that stay that colour to the end; `other` are the
// other colour's discs and `empty` the empty squares (every square in none
// of the three is a wall).
Bits stableDiscs(Bits discs, Bits other, Bits empty);

}  // namespace kaimo
