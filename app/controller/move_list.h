// The rows of the move list: the starting position, every move with its
// number and colour, and a row for each pass, which the history holds only
// as two entries with the same colour to move.
#pragma once

#include <vector>

#include "app/records/history.h"

namespace kaimo {

enum class MoveRowKind { Start, Move, Pass };

struct MoveListRow {
  MoveRowKind kind;
  int number;    // the move's number (history entry + 1); 0 for the start and passes
  int colour;    // who moved or passed; the side to move for the start
  int square;    // the move; -1 otherwise
  int position;  // the history entry a click on the row shows
};

std::vector<MoveListRow> moveListRows(const History& history);

// The row that stands for history entry `position` (the start, or the move
// that led to it), or -1.
int rowOfPosition(const std::vector<MoveListRow>& rows, int position);

}  // namespace kaimo
