// The two sides' clocks of the game in the window. The controller keeps
// them with no timer of its own: it reads the time from the clock it was
// given when a turn starts and ends and on its tick, so a test can move
// that clock by hand. A side by depth has no clock: its time counts up.
#pragma once

#include <cstdint>

#include "app/settings/time_settings.h"
#include "engine/search/move_clock.h"

namespace kaimo {

class GameClocks {
 public:
  // Full time on both clocks, none running.
  void reset(const TimeSettings& times);
  // The clock of `side` runs from `nowMs` on (a time per move starts afresh).
  void start(int side, std::int64_t nowMs);
  // `side` has moved: its time is charged, the increment added.
  void moved(int side, std::int64_t nowMs);
  // The running clock stops, its time charged (no increment).
  void stop(std::int64_t nowMs);

  // Whose clock runs, or -1.
  int running() const { return running_; }
  bool timed(int side) const { return times_.side(side).timed(); }
  const SideTime& timeOf(int side) const { return times_.side(side); }
  // What is left on the side's clock (below 0 once it ran out), or for a
  // side by depth the time it has used.
  std::int64_t shownMs(int side, std::int64_t nowMs) const;
  // The time left on a timed side's clock at `nowMs`.
  std::int64_t remainingMs(int side, std::int64_t nowMs) const;
  bool ranOut(int side, std::int64_t nowMs) const { return timed(side) && remainingMs(side, nowMs) <= 0; }
  // The engine's time control of the side (none for a side by depth).
  TimeControl controlOf(int side) const;

 private:
  std::int64_t runningFor(int side, std::int64_t nowMs) const;

  TimeSettings times_{};
  std::int64_t left_[2] = {0, 0};  // timed: what is left; by depth: what was used
  int running_ = -1;
  std::int64_t since_ = 0;
};

}  // namespace kaimo
