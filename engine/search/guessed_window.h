// Reading around a guess: a read to the end in a narrow window close to its
// value cuts far more than one in a wide window, and where the guess was
// wrong the read fails soft, telling which side the value lies on and how
// far it is at least. The analysis reads each move so, the computer's turn
// its root.
#pragma once

#include <algorithm>

#include "engine/eval/score.h"
#include "engine/search/search_context.h"

namespace kaimo {

// The window's half-width around the guess, in discs.
constexpr int kAspirationDiscs = 2;

// `read(alpha, beta)` (a fail-soft read) within the caller's window (low,
// high): first kAspirationDiscs either side of `guess` (any score), then,
// on the side the value fell out of, a window 8 discs wider, and after a
// second miss open to the caller's bound. Returns what the read in (low,
// high) would: the value inside it, or a bound at or beyond it. Each
// read after a miss starts with `onRetry()`.
template <typename Read, typename Retry>
int readAroundGuess(const SearchThread& thread, int guess, int low, int high, const Read& read, const Retry& onRetry) {
  // A window side that failed twice opens to the bound: a value that far
  // off is cheaper to read once than to chase.
  constexpr int kTriesPerSide = 2;
  const int width = kAspirationDiscs * SCORE_PER_DISC;
  const int centre = std::clamp(guess, -SCORE_WIPEOUT, SCORE_WIPEOUT);
  int alpha = std::max(low, centre - width), beta = std::min(high, centre + width);
  if (alpha >= beta) alpha = low, beta = high;  // the guess lies outside the caller's window
  int lowFails = 0, highFails = 0;
  while (true) {
    const int value = read(alpha, beta);
    if (thread.abortReason != 0 || (value > alpha && value < beta)) return value;
    // Fail-soft: the value is at most (at least) what came back.
    if (value <= alpha) {
      if (value <= low || alpha <= low) return value;  // beyond the caller's bound too
      beta = value + 1;
      alpha = ++lowFails < kTriesPerSide ? std::max(low, value - 4 * width) : low;
    } else {
      if (value >= high || beta >= high) return value;
      alpha = value - 1;
      beta = ++highFails < kTriesPerSide ? std::min(high, value + 4 * width) : high;
    }
    onRetry();
  }
}

}  // namespace kaimo
