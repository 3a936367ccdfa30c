// "狐" reading the files of a folder of its own instead of the program's data
// folder, so that one process can set two sets of weights against each
// other (a match of new data against old).
#pragma once

#include <filesystem>

#include "engine/eval/eval_simple.h"

namespace kaimo::tools {

// The evaluation of "狐" with the files of `folder`, built once per folder;
// at most two folders in a process. Throws UsageError when the folder's
// index tables cannot be read or a third folder is asked for.
EvalFunc foxEvaluationFrom(const std::filesystem::path& folder);

}  // namespace kaimo::tools
