#include "engine/eval/routines.h"

#include <cstring>

#include "engine/eval/pattern_eval.h"

namespace kaimo {

const RoutineEntry routineTable[kRoutineCapacity] = {
    {"人間", evalSimple},
    {"狸", evalSimple},
    {"狐", evalPattern},
};

int routineCount() {
  static const int count = [] {
    int n = 0;
    while (n < kRoutineCapacity && routineTable[n].name != nullptr) ++n;
    return n;
  }();
  return count;
}

int routineIndexOf(const char* name) {
  for (int i = 0; i < routineCount(); ++i) {
    if (std::strcmp(routineTable[i].name, name) == 0) return i;
  }
  return -1;
}

}  // namespace kaimo
