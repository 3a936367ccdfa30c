// How much time a computer side gives one move: a time per move, or a share
// of a game clock. A pure function of the time left, the increment and the
// empty squares, so the window's clock and `kaimo-cli match --clock` spend
// time the same way, and a test can hold it to its promises.
#pragma once

#include <cstdint>

namespace kaimo {

// What one move may spend, in milliseconds of the clock the caller keeps.
struct MoveBudget {
  std::int64_t softMs;  // no deeper read starts once this much is spent
  std::int64_t hardMs;  // the search is stopped here, whatever it is doing
  bool readToEnd;       // read the game to its end: the estimate fits

  bool operator==(const MoveBudget&) const = default;
};

// A side's time control. No time at all (both 0): the side reads by depth.
struct TimeControl {
  std::int64_t perMoveMs = 0;    // above 0: this much every move
  std::int64_t gameMs = 0;       // above 0: a clock for the whole game
  std::int64_t incrementMs = 0;  // added to the game clock after each own move

  bool timed() const { return perMoveMs > 0 || gameMs > 0; }
  bool isClock() const { return gameMs > 0; }
  bool operator==(const TimeControl&) const = default;
};

// The time kept back from every budget: what passes between the search's
// stop and the move on the board (the stop request, the caller's own
// polling, `latencyMs`), plus a share of what is left.
std::int64_t safetyMarginMs(std::int64_t remainingMs, std::int64_t latencyMs = 0);

// What a read to the end of a position of `empties` empty squares is
// expected to cost on one thread, from the solver's measured time and its
// growth per extra empty square (docs/benchmarks.md).
std::int64_t exactReadEstimateMs(int empties);

// The budget of a move with a game clock: `remainingMs` left on the side's
// clock, `incrementMs` coming back after the move, `empties` empty squares.
// The time left is divided over the moves the side expects before it reads
// to the end, the middle game weighing more than the opening; it reads to
// the end once that read's estimate fits well within the time left. The
// hard limit never passes the time left minus the safety margin (0 when
// nothing is left: the quickest move there is).
MoveBudget budgetForClock(std::int64_t remainingMs, std::int64_t incrementMs, int empties,
                          std::int64_t latencyMs = 0);

// The budget of a move with a fixed time per move.
MoveBudget budgetPerMove(std::int64_t perMoveMs, int empties, std::int64_t latencyMs = 0);

// The budget of the side's next move under `control` with `remainingMs` on
// its clock (ignored for a time per move).
MoveBudget budgetFor(const TimeControl& control, std::int64_t remainingMs, int empties, std::int64_t latencyMs = 0);

// Whether a read that finished after `elapsedMs` leaves room for one more
// ply: not past the soft budget, and the next read (a few times the cost of
// everything so far) expected to end before the hard limit.
bool deeperReadFits(const MoveBudget& budget, std::int64_t elapsedMs);

}  // namespace kaimo
