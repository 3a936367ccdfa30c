// "done of total, rate, time left" on standard error while a step runs.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace kaimo::train {

class Progress {
 public:
  Progress(std::string what, long total, std::FILE* out = stderr);
  // Adds `count` finished items; prints at most every couple of seconds.
  void advance(long count = 1);
  // The last line, always printed.
  void finish();
  long done() const { return done_; }

 private:
  void print(bool last);

  std::string what_;
  long total_;
  long done_ = 0;
  std::FILE* out_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastPrint_;
};

// "1h02m", "3m05s" or "12s".
std::string formatDuration(double seconds);

}  // namespace kaimo::train
