// How each side's time is kept in the window: by depth alone (no clock), a
// time per move, or a clock for the whole game with an optional increment;
// and whether a human whose time runs out loses. The window keeps them in
// its own preferences: the players' settings file keeps its words.
#pragma once

namespace kaimo {

enum class TimeMode { Depth = 0, PerMove = 1, Clock = 2 };

// The ranges the player settings dialog offers.
inline constexpr int kMinPerMoveMs = 100;      // 0.1 s
inline constexpr int kMaxPerMoveMs = 600000;   // 10 min
inline constexpr int kMinClockMinutes = 1;
inline constexpr int kMaxClockMinutes = 600;
inline constexpr int kMaxIncrementSeconds = 600;

struct SideTime {
  TimeMode mode = TimeMode::Depth;
  int perMoveMs = 1000;
  int clockMinutes = 10;
  int incrementSeconds = 0;

  bool timed() const { return mode != TimeMode::Depth; }
  bool operator==(const SideTime&) const = default;
};

struct TimeSettings {
  SideTime black;
  SideTime white;
  bool loseOnTime = true;  // off: a human's clock only counts

  SideTime& side(int colour) { return colour == 0 ? black : white; }
  const SideTime& side(int colour) const { return colour == 0 ? black : white; }
  bool operator==(const TimeSettings&) const = default;
};

}  // namespace kaimo
