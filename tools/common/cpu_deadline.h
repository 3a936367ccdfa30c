// A stop request that fires once the process has used a given amount of
// processor time: what a move "within N ms" means for the command-line
// tools. Processor time, not wall time, so that a busy machine gives each
// side the same amount of search.
#pragma once

#include <cstdint>
#include <stop_token>
#include <thread>

namespace kaimo::tools {

// Processor time this process has used, in microseconds (all its threads).
std::int64_t processCpuMicros();

class CpuDeadline {
 public:
  // Starts watching: the token's stop is requested `ms` milliseconds of
  // processor time from now.
  explicit CpuDeadline(std::int64_t ms);
  CpuDeadline(const CpuDeadline&) = delete;
  CpuDeadline& operator=(const CpuDeadline&) = delete;

  std::stop_token token() const { return stop_.get_token(); }

 private:
  std::stop_source stop_;
  std::jthread watcher_;  // last: it stops and joins before stop_ goes
};

}  // namespace kaimo::tools
