// A stop request that fires once the process has used a given amount of
// processor time: what a move "within N ms" means for the command-line
// tools. Processor time, not wall time, so that a busy machine gives each
// side the same amount of search.
#pragma once

#include <cstdint>

#include "engine/search/search_deadline.h"

namespace kaimo::tools {

// Processor time this process has used, in microseconds (all its threads).
std::int64_t processCpuMicros();

// The token's stop is requested `ms` milliseconds of processor time from now.
class CpuDeadline : public SearchDeadline {
 public:
  explicit CpuDeadline(std::int64_t ms, std::stop_token outer = {})
      : SearchDeadline(processCpuMicros, ms, std::move(outer)) {}
};

}  // namespace kaimo::tools
