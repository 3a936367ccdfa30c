// The search driver asks an argument-less function whether to stop. A
// worker that owns its stop flag lends it to the thread it searches on for
// as long as one search runs there, and hands the driver lentStopRequested;
// so no flag is shared between workers, and none is process-wide.
#pragma once

#include <atomic>

namespace kaimo {

class LentStopFlag {
 public:
  explicit LentStopFlag(const std::atomic<bool>& flag);
  ~LentStopFlag();
  LentStopFlag(const LentStopFlag&) = delete;
  LentStopFlag& operator=(const LentStopFlag&) = delete;

 private:
  const std::atomic<bool>* previous_;
};

// Non-zero once the flag lent to the calling thread is set; 0 with none lent.
int lentStopRequested();

}  // namespace kaimo
