// The routine table: the player kinds a side can be given, in a fixed order.
// A routine's index is its identity in the settings and the dialog; the
// table hands out the evaluator a computer routine plays with.
#pragma once

#include <array>
#include <memory>

#include "engine/eval/evaluator.h"

namespace kaimo {

enum class Evaluation { Simple, Pattern };

struct RoutineEntry {
  const char* name;
  Evaluation evaluation;
};

inline constexpr std::array<RoutineEntry, 3> routineTable{{
    {"人間", Evaluation::Simple},
    {"狸", Evaluation::Simple},
    {"狐", Evaluation::Pattern},
}};

constexpr int kHumanRoutine = 0;
constexpr int kSimpleRoutine = 1;   // "狸", also the evaluation of the endgame analysis
constexpr int kPatternRoutine = 2;  // "狐", whose data also order the upper plies of every read to the end

constexpr int routineCount() { return static_cast<int>(routineTable.size()); }

// Index of the routine with this name, or -1.
int routineIndexOf(const char* name);

// The evaluator of a routine; "狐" reads `patternData`, by default the data
// of the program's data folder. An index outside the table (a settings file
// may hold anything) gets the simple evaluation.
Evaluator routineEvaluator(int routine);
Evaluator routineEvaluator(int routine, std::shared_ptr<const PatternData> patternData);

}  // namespace kaimo
