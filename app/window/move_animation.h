// One move as it is drawn happening: the placed disc grows onto its square
// and the flipped discs turn over (narrowing to an edge in the old colour,
// widening again in the new one). It only says how each changed square
// looks at a moment; the view runs the clock and draws it.
#pragma once

#include <optional>
#include <vector>

#include "engine/board/board.h"

namespace kaimo {

// How long a move takes to appear on the board.
constexpr int kMoveAnimationMilliseconds = 300;

// A disc in the middle of the animation: its colour and its size as shares
// of a whole disc (width and height, 0..1).
struct DiscPose {
  int colour;
  double width;
  double height;
};

class MoveAnimation {
 public:
  // The move that turns `before` into `after` by a disc on `placed`; none
  // when the two boards differ otherwise (an edit, a jump of several moves).
  static std::optional<MoveAnimation> between(const Board& before, const Board& after, int placed);

  const Board& after() const { return after_; }
  int placed() const { return placed_; }
  bool changes(int square) const;
  // The disc on a changed `square` at `progress` (0 the start, 1 the end);
  // width and height 0 where nothing is drawn yet.
  DiscPose poseAt(int square, double progress) const;

 private:
  MoveAnimation(const Board& before, const Board& after, int placed) : before_(before), after_(after), placed_(placed) {}

  Board before_;
  Board after_;
  int placed_;
};

}  // namespace kaimo
