// The normal read: negamax with principal-variation windows on the bit
// masks, to a fixed depth, the leaves scored by the context's evaluation.
// Its value is that of plain alpha-beta over the same tree: a pass costs no
// ply (the other side moves on the same position), a game that ends is
// scored by scoreFinal, and a read whose depth reaches the end of the game is
// handed to the exact solver. Moves are ordered from the masks (the table's
// move, then the opponent's fewest replies); bounds are kept in the table
// per remaining depth.
#pragma once

#include "engine/board/bitboard.h"
#include "engine/search/search_context.h"

namespace kaimo {

// The value for `side` (the owner of `own`), fail-soft in (alpha, beta), with
// `depth` plies left. When the context aborts (a stop, a failed evaluation)
// the result is meaningless and context.abortMarker says why.
int searchMidgame(SearchContext& context, Bits own, Bits opp, int side, int depth, int alpha, int beta);

}  // namespace kaimo
