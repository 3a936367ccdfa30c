// The rows of the move list: the starting position, every move with its
// number and colour, a row for each pass, and a row where the position was
// changed by hand. The history holds neither: a pass shows as two entries
// with the same colour to move, an edit as an entry that playing the move
// before it does not give.
#pragma once

#include <vector>

#include "app/records/history.h"

namespace kaimo {

enum class MoveRowKind { Start, Move, Pass, Edit };

struct MoveListRow {
  MoveRowKind kind;
  int number;    // the move's number (history entry + 1); 0 otherwise
  int colour;    // who moved or passed; the side to move for the start and an edit
  int square;    // the move; -1 otherwise
  int position;  // the history entry a click on the row shows
};

// After each move: an edit row when the next entry is not what the move
// gives (its board, or its colour by the pass rule); else a pass row when
// the other colour had to pass while the mover could go on. A game that
// ends with the move gets no row: the colour that played last holds the
// turn there, but no one passed.
std::vector<MoveListRow> moveListRows(const History& history);

// The row that stands for history entry `position` (the start, or the move
// that led to it), or -1.
int rowOfPosition(const std::vector<MoveListRow>& rows, int position);

}  // namespace kaimo
