#include "tools/common/cpu_deadline.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include <time.h>

namespace kaimo::tools {
namespace {

// The watcher looks again after a quarter of the time left (a process with
// two busy threads spends processor time twice as fast as the clock runs),
// but never sooner than this: the deadline is then at most this late.
constexpr std::int64_t kShortestWaitMicros = 200;
constexpr std::int64_t kLongestWaitMicros = 20000;

}  // namespace

std::int64_t processCpuMicros() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

CpuDeadline::CpuDeadline(std::int64_t ms)
    : watcher_([this, end = processCpuMicros() + ms * 1000](std::stop_token finished) {
        std::mutex lock;
        std::condition_variable_any wake;
        std::unique_lock held(lock);
        while (!finished.stop_requested()) {
          const std::int64_t left = end - processCpuMicros();
          if (left <= 0) {
            stop_.request_stop();
            return;
          }
          const auto wait = std::chrono::microseconds(std::clamp(left / 4, kShortestWaitMicros, kLongestWaitMicros));
          wake.wait_for(held, finished, wait, [] { return false; });
        }
      }) {}

}  // namespace kaimo::tools
