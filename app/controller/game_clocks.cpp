#include "app/controller/game_clocks.h"

namespace kaimo {
namespace {

std::int64_t fullTime(const SideTime& time) {
  switch (time.mode) {
    case TimeMode::PerMove: return time.perMoveMs;
    case TimeMode::Clock: return static_cast<std::int64_t>(time.clockMinutes) * 60000;
    case TimeMode::Depth: return 0;
  }
  return 0;
}

}  // namespace

void GameClocks::reset(const TimeSettings& times) {
  times_ = times;
  for (int side = 0; side < 2; ++side) left_[side] = fullTime(times_.side(side));
  running_ = -1;
}

void GameClocks::start(int side, std::int64_t nowMs) {
  stop(nowMs);
  if (times_.side(side).mode == TimeMode::PerMove) left_[side] = fullTime(times_.side(side));
  running_ = side;
  since_ = nowMs;
}

void GameClocks::moved(int side, std::int64_t nowMs) {
  stop(nowMs);
  if (times_.side(side).mode == TimeMode::Clock) left_[side] += times_.side(side).incrementSeconds * 1000LL;
}

void GameClocks::stop(std::int64_t nowMs) {
  if (running_ < 0) return;
  left_[running_] = shownMs(running_, nowMs);
  running_ = -1;
}

std::int64_t GameClocks::runningFor(int side, std::int64_t nowMs) const {
  return side == running_ && nowMs > since_ ? nowMs - since_ : 0;
}

std::int64_t GameClocks::shownMs(int side, std::int64_t nowMs) const {
  return timed(side) ? left_[side] - runningFor(side, nowMs) : left_[side] + runningFor(side, nowMs);
}

std::int64_t GameClocks::remainingMs(int side, std::int64_t nowMs) const {
  return timed(side) ? shownMs(side, nowMs) : 0;
}

TimeControl GameClocks::controlOf(int side) const {
  const SideTime& time = times_.side(side);
  switch (time.mode) {
    case TimeMode::PerMove: return TimeControl{.perMoveMs = time.perMoveMs};
    case TimeMode::Clock:
      return TimeControl{.gameMs = fullTime(time), .incrementMs = time.incrementSeconds * 1000LL};
    case TimeMode::Depth: return {};
  }
  return {};
}

}  // namespace kaimo
