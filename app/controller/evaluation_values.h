// The static evaluation of a position by every computer routine, as the
// "評価値" command shows it.
#pragma once

#include "app/texts/text.h"

#include "engine/board/board.h"

namespace kaimo {

// One line per routine of the table after "人間", in table order: the name
// and the score from black's point of view with its unit ("狐 +1.25石";
// "狸" counts points of its own, and its line says so), or the name and
// "error". Safe while a search runs on a worker: every evaluation
// keeps its state on the caller's stack or under its own lock.
texts::Wording evaluationValuesText(const Board& board, int side);

}  // namespace kaimo
