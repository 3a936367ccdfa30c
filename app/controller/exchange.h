// Where a running job and the window thread meet: the job's progress, which
// the job changes as it goes and the window thread takes on its tick. Each
// Worker owns one; nothing else is shared between the two threads.
//
// One lock, held only while the progress is changed or taken, and never
// with another: a change is a plain assignment or append, and no callback
// runs under it.
#pragma once

#include <mutex>
#include <optional>
#include <utility>

namespace kaimo {

template <typename Progress>
class Exchange {
 public:
  // Any thread: `change(progress)` under the lock. What was changed since
  // the last take is taken together: a field set twice keeps the latest
  // value, a list appended to keeps every item.
  template <typename Change>
  void report(Change&& change) {
    std::lock_guard hold(lock_);
    change(progress_);
    changed_ = true;
  }

  // The window thread: the progress changed since the last take, which
  // starts afresh from a default Progress; none when nothing changed.
  std::optional<Progress> take() {
    std::lock_guard hold(lock_);
    if (!changed_) return std::nullopt;
    changed_ = false;
    return std::exchange(progress_, Progress{});
  }

 private:
  std::mutex lock_;
  Progress progress_{};
  bool changed_ = false;
};

}  // namespace kaimo
