#include "app/window/move_animation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kaimo {
namespace {

// The placed disc has grown by this share of the animation; the flips
// start a little after it lands.
constexpr double kPlacingShare = 0.35;
constexpr double kFlipStart = 0.1;

double clamped(double x) { return std::clamp(x, 0.0, 1.0); }

}  // namespace

std::optional<MoveAnimation> MoveAnimation::between(const Board& before, const Board& after, int placed) {
  if (placed < 0 || placed >= kSquareCount || before[placed] != kEmpty) return std::nullopt;
  const int mover = after[placed];
  if (mover != kBlack && mover != kWhite) return std::nullopt;
  bool flipped = false;
  for (int square = 0; square < kSquareCount; ++square) {
    if (square == placed || before[square] == after[square]) continue;
    // Only the opponent's discs may change, and only to the mover's colour.
    if (before[square] != opponentOf(mover) || after[square] != mover) return std::nullopt;
    flipped = true;
  }
  if (!flipped) return std::nullopt;
  return MoveAnimation(before, after, placed);
}

bool MoveAnimation::changes(int square) const {
  return square >= 0 && square < kSquareCount && before_[square] != after_[square];
}

DiscPose MoveAnimation::poseAt(int square, double progress) const {
  const double t = clamped(progress);
  if (square == placed_) {
    // Grows quickly and settles: an ease-out.
    const double x = clamped(t / kPlacingShare);
    const double size = 1.0 - (1.0 - x) * (1.0 - x);
    return {after_[square], size, size};
  }
  // Turns about its vertical axis: the old face narrows to an edge, then the new one widens.
  const double turn = clamped((t - kFlipStart) / (1.0 - kFlipStart));
  const double width = std::abs(std::cos(std::numbers::pi * turn));
  return {turn < 0.5 ? before_[square] : after_[square], width, 1.0};
}

}  // namespace kaimo
