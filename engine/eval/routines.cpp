#include "engine/eval/routines.h"

#include <cstring>

#include "engine/eval/pattern_eval.h"

namespace kaimo {

int routineIndexOf(const char* name) {
  for (int i = 0; i < routineCount(); ++i) {
    if (std::strcmp(routineTable[i].name, name) == 0) return i;
  }
  return -1;
}

namespace {

bool usesPattern(int routine) {
  return routine >= 0 && routine < routineCount() && routineTable[routine].evaluation == Evaluation::Pattern;
}

}  // namespace

Evaluator routineEvaluator(int routine) {
  // The default data are only built (and their files read) for "狐".
  return usesPattern(routine) ? routineEvaluator(routine, defaultPatternData()) : Evaluator{};
}

Evaluator routineEvaluator(int routine, std::shared_ptr<const PatternData> patternData) {
  if (!usesPattern(routine)) return Evaluator{};
  return PatternEvaluator(std::move(patternData));
}

}  // namespace kaimo
