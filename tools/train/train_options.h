// Options several steps of kaimo-train declare alike.
#pragma once

#include "tools/common/option_syntax.h"

namespace kaimo::train {

inline constexpr const char* kProgram = "kaimo-train";

// --dir DIR, required.
tools::OptionSyntax dirOption(const char* help);
// --dir DIR1,DIR2,...: folders whose chunks are read together, required.
tools::OptionSyntax dirListOption(const char* help);
// --jobs N: worker processes.
tools::OptionSyntax jobsOption();
// --seed S of a step's random draws.
tools::OptionSyntax seedOption(const char* help);
// --shard K/N: this run's share of a run split N ways.
tools::OptionSyntax shardOption();
// --chunks N: only the first N chunks of games.
tools::OptionSyntax chunksOption();

}  // namespace kaimo::train
