// The routine table: the player kinds a side can be given, in a fixed order.
// A routine's index is its identity in the settings and the dialog.
#pragma once

#include "engine/eval/eval_simple.h"

namespace kaimo {

struct RoutineEntry {
  const char* name;  // null ends the table
  EvalFunc evaluate;
};

constexpr int kRoutineCapacity = 32;
constexpr int kHumanRoutine = 0;
constexpr int kSimpleRoutine = 1;  // "狸", also the evaluation of the endgame analysis

extern const RoutineEntry routineTable[kRoutineCapacity];

// Rows up to the first null name; computed once.
int routineCount();

// Index of the routine with this name, or -1.
int routineIndexOf(const char* name);

}  // namespace kaimo
