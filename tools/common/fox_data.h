// "狐" reading the files of a folder of its own instead of the program's data
// folder, so that one process can set several sets of weights against each
// other (a match of new data against old).
#pragma once

#include <filesystem>

#include "engine/eval/evaluator.h"

namespace kaimo::tools {

// The evaluator of "狐" with the files of `folder`, whose data are read once
// per folder and shared. Throws UsageError when the folder's index tables
// cannot be read.
Evaluator foxEvaluatorFrom(const std::filesystem::path& folder);

}  // namespace kaimo::tools
