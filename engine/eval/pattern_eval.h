// Where the evaluators of "狐" get their data: one PatternData per folder for
// the whole process, built when a folder is first asked for and shared by
// every evaluator and thread from then on.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>

#include "engine/eval/pattern_data.h"

namespace kaimo {

// The data of the folder paths::dataFolder finds (the current folder, else the
// installed copy beside the program). A program that never evaluates with
// "狐" (perft, say) never reads its files or writes to its error log.
std::shared_ptr<const PatternData> defaultPatternData();

// The data of another folder (the same object for the same folder, however
// it is spelled). Loading failures are logged and leave data whose
// evaluations fail (PatternData::failed).
std::shared_ptr<const PatternData> patternDataIn(const std::filesystem::path& folder);

// Where the default data, once built, write their "jMax = N" line: the window
// announces it on standard output, the command-line tools nowhere (the
// default). Set it before the first use.
void setPatternAnnouncement(std::FILE* stream);

}  // namespace kaimo
