// The game history: what the window steps through and what a game record
// file stores.
#pragma once

#include <vector>

#include "engine/board/board.h"

namespace kaimo {

struct HistoryEntry {
  int side;     // colour to move in this position, 0 black, 1 white
  int move;     // square played from this position; -1 (or unused) in the last entry
  Board board;  // the position

  friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};

// Entry i + 1 is the position after entry i's move; a pass adds no entry.
using History = std::vector<HistoryEntry>;

}  // namespace kaimo
