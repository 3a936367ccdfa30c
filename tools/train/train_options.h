// Options several steps of kaimo-train declare alike.
#pragma once

#include "tools/common/option_spec.h"

namespace kaimo::train {

inline constexpr const char* kProgram = "kaimo-train";

// --dir DIR, required.
tools::OptionSpec dirOption(const char* help);
// --dir DIR1,DIR2,...: folders whose chunks are read together, required.
tools::OptionSpec dirListOption(const char* help);
// --jobs N: worker processes.
tools::OptionSpec jobsOption();
// --seed S of a step's random draws.
tools::OptionSpec seedOption(const char* help);
// --shard K/N: this run's share of a run split N ways.
tools::OptionSpec shardOption();
// --chunks N: only the first N chunks of games.
tools::OptionSpec chunksOption();

}  // namespace kaimo::train
