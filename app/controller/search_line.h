// What a computer side is thinking, read from its search's own table: the
// depth being searched, and the value and line of best moves of the last
// pass that finished. Called on the searching thread only, which owns the
// table.
#pragma once

#include <vector>

#include "engine/board/board.h"
#include "engine/search/search_context.h"

namespace kaimo {

struct ThinkingLine {
  int depth = 0;           // plies of the pass being searched (0: none yet)
  bool exact = false;      // the search reads to the end of the game
  int lineDepth = 0;       // plies of the pass the value and the line come from (0: none yet)
  int value = 0;           // for the side to move, when lineDepth > 0
  std::vector<int> moves;  // the line of best moves from the position, passes skipped
  bool operator==(const ThinkingLine&) const = default;
};

// What a computer side thinks, as the column beside the board shows it.
struct ThinkingDisplay {
  int colour = -1;         // the side that thinks or thought; -1: nothing to show
  int routine = 0;         // its routine (the unit of its values)
  bool searching = false;  // false once its move is played
  bool fromBook = false;   // the move came from the opening book: the line is the book's move and value
  ThinkingLine line;
  int empties = 0;  // of the position it thinks about: with the line's depth, which evaluation gave the value
};

// The line of the search of `board` with `side` to move that `context`
// runs; `finished` once its root has returned (the last pass is then the
// one to show).
ThinkingLine thinkingLine(const SearchContext& context, const Board& board, int side, bool finished);

}  // namespace kaimo
