#include "engine/search/search_deadline.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace kaimo {
namespace {

// The watcher looks again after a quarter of the time left (a process with
// two busy threads spends processor time twice as fast as the clock runs),
// but never sooner than this: the deadline is then at most this late.
constexpr std::int64_t kShortestWaitMicros = 200;
constexpr std::int64_t kLongestWaitMicros = 20000;

}  // namespace

std::int64_t steadyMicros() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

SearchDeadline::SearchDeadline(MicrosClock clock, std::int64_t ms, std::stop_token outer)
    : clock_(clock),
      start_(clock()),
      outer_(std::in_place, std::move(outer), Forward{&stop_}),
      watcher_([this, end = start_ + ms * 1000](std::stop_token finished) {
        std::mutex lock;
        std::condition_variable_any wake;
        std::unique_lock held(lock);
        while (!finished.stop_requested() && !stop_.stop_requested()) {
          const std::int64_t left = end - clock_();
          if (left <= 0) {
            stop_.request_stop();
            return;
          }
          const auto wait = std::chrono::microseconds(std::clamp(left / 4, kShortestWaitMicros, kLongestWaitMicros));
          wake.wait_for(held, finished, wait, [] { return false; });
        }
      }) {}

}  // namespace kaimo
