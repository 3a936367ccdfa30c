#include "engine/search/move_clock.h"

#include <algorithm>
#include <cmath>

namespace kaimo {
namespace {

// The stop request lands within a millisecond; starting and joining the
// search's threads, the deadline's watcher and the hand-over of the move
// take a few more.
constexpr std::int64_t kBaseMarginMs = 20;
// A share of the time left (a fortieth), never more than two seconds: a
// long clock can afford it, a short one cannot.
constexpr std::int64_t kMarginDivisor = 40;
constexpr std::int64_t kMaxShareMarginMs = 2000;

// A read to the end of 20 empty squares by "狐" on one thread: 0.36 to
// 0.66 s on the bench suite's positions, more on close ones; each further
// empty square costs about 2.2 times more (docs/benchmarks.md).
constexpr double kExactMsAt20 = 800;
constexpr double kExactGrowth = 2.2;
constexpr int kExactBaseEmpties = 20;
// Far beyond any clock; keeps the estimate of a full board finite.
constexpr double kLongestEstimateMs = 1e15;

// The estimate is often off by a factor of two either way: a read to the
// end starts only when twice it fits in half the time left.
constexpr std::int64_t kExactSafety = 2;
constexpr std::int64_t kExactShareDivisor = 2;
// Planning ahead, the side keeps for the end what that rule will want
// there, and expects to get there with a quarter of what it has now.
constexpr std::int64_t kEndReserveFactor = kExactSafety * kExactShareDivisor;
constexpr std::int64_t kEndShareDivisor = 4;

// The middle game, where the game is decided, gets this much more per move
// than the first moves, whose positions differ little in value.
constexpr double kOpeningWeight = 0.5;
constexpr double kMiddleWeight = 1.5;
constexpr int kOpeningEndsAt = 90;  // empty squares: weight kOpeningWeight from here up
constexpr int kMiddleStartsAt = 64;  // and kMiddleWeight from here down

// A move may run past its share up to this many times it (a read that
// was nearly done), but never past a third of the time left.
constexpr std::int64_t kHardFactor = 4;
constexpr std::int64_t kHardShareDivisor = 3;
// The reserve for the end never takes more than three quarters of the time.
constexpr std::int64_t kLeastPoolDivisor = 4;

// A read one ply deeper costs about twice all the shallower ones together.
constexpr std::int64_t kNextReadGrowth = 2;

double moveWeight(int empties) {
  if (empties >= kOpeningEndsAt) return kOpeningWeight;
  if (empties <= kMiddleStartsAt) return kMiddleWeight;
  const double along = double(kOpeningEndsAt - empties) / (kOpeningEndsAt - kMiddleStartsAt);
  return kOpeningWeight + along * (kMiddleWeight - kOpeningWeight);
}

bool exactReadFits(std::int64_t availableMs, int empties) {
  return exactReadEstimateMs(empties) * kExactSafety <= availableMs / kExactShareDivisor;
}

// The most empty squares below `empties` at which a read to the end is
// expected to fit, when a quarter of `availableMs` is left by then.
int plannedExactEmpties(std::int64_t availableMs, int empties) {
  int exact = std::max(empties - 1, 0);
  while (exact > 0 && exactReadEstimateMs(exact) * kEndReserveFactor > availableMs / kEndShareDivisor) --exact;
  return exact;
}

}  // namespace

std::int64_t safetyMarginMs(std::int64_t remainingMs, std::int64_t latencyMs) {
  return kBaseMarginMs + std::max<std::int64_t>(latencyMs, 0) +
         std::clamp<std::int64_t>(remainingMs / kMarginDivisor, 0, kMaxShareMarginMs);
}

std::int64_t exactReadEstimateMs(int empties) {
  const double ms = kExactMsAt20 * std::pow(kExactGrowth, empties - kExactBaseEmpties);
  return static_cast<std::int64_t>(std::min(ms, kLongestEstimateMs));
}

MoveBudget budgetForClock(std::int64_t remainingMs, std::int64_t incrementMs, int empties, std::int64_t latencyMs) {
  const std::int64_t available = remainingMs - safetyMarginMs(remainingMs, latencyMs);
  if (available <= 0) return {0, 0, false};
  if (exactReadFits(available, empties)) {
    const std::int64_t hard = available / kExactShareDivisor;
    return {hard, hard, true};
  }
  const int exactAt = plannedExactEmpties(available, empties);
  const std::int64_t reserve = exactReadEstimateMs(exactAt) * kEndReserveFactor;
  const int moves = std::max(1, (empties - exactAt + 1) / 2);
  std::int64_t pool = available - reserve + std::max<std::int64_t>(incrementMs, 0) * (moves - 1);
  pool = std::clamp(pool, available / kLeastPoolDivisor, available);
  double weights = 0;
  for (int k = 0; k < moves; ++k) weights += moveWeight(empties - 2 * k);
  const auto soft = static_cast<std::int64_t>(pool * moveWeight(empties) / weights);
  const std::int64_t hard = std::min(soft * kHardFactor, std::max(soft, available / kHardShareDivisor));
  return {soft, std::min(hard, available), false};
}

MoveBudget budgetPerMove(std::int64_t perMoveMs, int empties, std::int64_t latencyMs) {
  const std::int64_t available = std::max<std::int64_t>(perMoveMs - safetyMarginMs(perMoveMs, latencyMs), 0);
  return {available, available, available > 0 && exactReadFits(available * kExactShareDivisor, empties)};
}

MoveBudget budgetFor(const TimeControl& control, std::int64_t remainingMs, int empties, std::int64_t latencyMs) {
  if (control.isClock()) return budgetForClock(remainingMs, control.incrementMs, empties, latencyMs);
  return budgetPerMove(control.perMoveMs, empties, latencyMs);
}

bool deeperReadFits(const MoveBudget& budget, std::int64_t elapsedMs) {
  return elapsedMs < budget.softMs && elapsedMs * (1 + kNextReadGrowth) <= budget.hardMs;
}

}  // namespace kaimo
