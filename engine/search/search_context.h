// The record shared by all nodes of one search, and the transposition
// table's entry.
#pragma once

#include <cstdint>

#include "engine/board/board.h"
#include "engine/eval/eval_simple.h"
#include "support/kr/kr_map.h"

namespace kaimo {

struct SearchContext;

// Non-zero once a stop is wanted; called often from the searching thread.
using StopFunc = int (*)();
// `value` runs over the caller's progress scale and never decreases within a pass.
using ProgressFunc = void (*)(int value, SearchContext* context);

struct SearchContext {
  EvalFunc evaluate;
  StopFunc shouldStop;
  ProgressFunc progress;
  int progressDepth;  // nodes with at least this depth left report progress
  int solverDepth;    // shallow nodes at or below this hand their children to the endgame solver
  int hashDepth;      // children deeper than this get no table entry
  int orderDepth;     // nodes with at least this depth left order their moves
  int clearAllowed;   // the table may be emptied when full
  int refreshDepth;   // shallow nodes at or below this shorten the empties list for the solver
  int bestMove;       // the square chosen by the node that finished last; -1 none
  int entryCount;     // entries created since the table was last emptied
  // Statistics. 64-bit: a long exact read passes 2^31 leaves.
  std::int64_t hashFound;
  std::int64_t hashCutoffs;
  std::int64_t hashProbes;
  std::int64_t leafCount;
  std::int64_t orderCount;
  std::int64_t startTime;  // milliseconds on the steady clock when the search was set up
  MapHeader* table;        // null: every table step is skipped
};

// One position with its side to move in the transposition table.
struct TableEntry {
  std::int32_t lower;
  std::int32_t upper;
  std::int32_t middle;  // orders moves; survives the resets between preliminary passes
  // The square a shallow visit starts at, the one that cut off last time.
  // Kept apart from `tried` (it fits where `next` would leave padding), so
  // a mask of tried squares is never read as a square number.
  std::int16_t resume;
  TableEntry* next;
  std::uint16_t tried[7];  // bit (s & 15) of word (s >> 4): square s settled in an ordered visit
  PositionKey key;
};

// Milliseconds on the steady clock, the time base of startTime.
std::int64_t searchClockMs();

}  // namespace kaimo
