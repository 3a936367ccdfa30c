// Positions of a game read one after another for the review: the loop that
// the window's review job and `kaimo-cli review` share.
#pragma once

#include <functional>
#include <stop_token>
#include <vector>

#include "app/review/game_review.h"

namespace kaimo {

struct ReviewResult {
  ReviewRequest request;
  PositionRead read;
};

// Reads `positions` in order with a reader of its own, handing each read to
// `onRead` (on the calling thread) as soon as it is done. Once `stop` is
// requested the read in progress comes back Stopped and the rest are left.
void readPositions(const std::vector<ReviewRequest>& positions, const ReviewSettings& settings,
                   ReviewEvaluator evaluator, const std::stop_token& stop,
                   const std::function<void(const ReviewResult&)>& onRead);

// Reads every move of `history` that `review` does not know yet, on
// `threads` threads, and returns when all are read. `onProgress` (may be
// null) is called on the caller's thread as the reads come in.
void readWholeGame(GameReview& review, const History& history, int threads,
                   const std::function<void(const GameReview&)>& onProgress);

}  // namespace kaimo
