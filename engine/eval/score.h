// The score scale: 1000 units per disc of final margin, and the marker values
// that travel through a search unchanged.
#pragma once

namespace kaimo {

constexpr int SCORE_PER_DISC = 1000;
constexpr int SCORE_WIPEOUT = 100000;
constexpr int SCORE_INF = 128000000;         // every real score lies strictly inside ±SCORE_INF
constexpr int SCORE_NONE = 128000001;        // stopped, or no value yet
constexpr int SCORE_EVAL_ERROR = 128000002;  // an evaluation function failed
constexpr int SCORE_NO_MOVE = -128000001;    // the side to move has no legal move

inline constexpr bool isMarker(int score) { return score > SCORE_INF; }

// A finished position from black's point of view; a side without discs has
// lost by SCORE_WIPEOUT (black is tested first, so 0 to 0 is a black loss).
inline constexpr int scoreFinal(int black, int white) {
  if (black == 0) return -SCORE_WIPEOUT;
  if (white == 0) return SCORE_WIPEOUT;
  return (black - white) * SCORE_PER_DISC;
}

// A played-out margin from the mover's point of view, no wipe-out rule.
inline constexpr int scoreDiff(int own, int opponent) { return (own - opponent) * SCORE_PER_DISC; }

}  // namespace kaimo
