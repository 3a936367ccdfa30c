// The pattern index tables the trainer ships and the input space they give:
// the same tables the evaluator will read back, so positions are turned into
// weight rows exactly as "狐" will see them.
#pragma once

#include <string>
#include <vector>

#include "engine/eval/pattern_inputs.h"
#include "engine/eval/pattern_layout.h"

namespace kaimo::train {

struct TableFile {
  std::string name;  // "fgtb%02d%d.kmx"
  IndexTable table;
};

// One file per distinct (length, digit): lines of 4..10 squares under
// reversal, and the 8-square edge with the mirrored flag.
std::vector<TableFile> indexTableFiles();

struct InputSpace {
  std::array<IndexTable, kPatternCount> tables;
  IndexTables pointers{};
  WeightLayout layout;
};

// Built once.
const InputSpace& inputSpace();

}  // namespace kaimo::train
