// A stop request that fires once a clock has run a given time: the hard
// limit of a timed move. The clock is the caller's: the window's moves run
// on the wall clock, the tools' on the processor time of the process (so a
// busy machine gives each side the same amount of search).
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <stop_token>
#include <thread>

namespace kaimo {

// Microseconds on some clock that only moves forward.
using MicrosClock = std::int64_t (*)();

// Microseconds on the steady (wall) clock.
std::int64_t steadyMicros();

class SearchDeadline {
 public:
  // Starts watching: the token's stop is requested `ms` milliseconds of
  // `clock` from now, at once when `outer` is asked to stop, or when
  // stopNow is called.
  SearchDeadline(MicrosClock clock, std::int64_t ms, std::stop_token outer = {});
  SearchDeadline(const SearchDeadline&) = delete;
  SearchDeadline& operator=(const SearchDeadline&) = delete;

  std::stop_token token() const { return stop_.get_token(); }
  // Stops the search now (a deeper read would not fit).
  void stopNow() { stop_.request_stop(); }
  // Milliseconds of the clock since the deadline was set.
  std::int64_t elapsedMs() const { return (clock_() - start_) / 1000; }

 private:
  struct Forward {
    std::stop_source* stop;
    void operator()() const { stop->request_stop(); }
  };

  MicrosClock clock_;
  std::int64_t start_;
  std::stop_source stop_;
  std::optional<std::stop_callback<Forward>> outer_;
  std::jthread watcher_;  // last: it stops and joins before the rest goes
};

}  // namespace kaimo
