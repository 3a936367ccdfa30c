// The review of the game as it goes: each move of the history read on the
// review's own worker, for the evaluation graph and the summary. It reads
// the game's history on every tick and asks for what is not read yet.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/controller/controller_window.h"
#include "app/controller/game.h"
#include "app/controller/review_job.h"
#include "app/review/game_review.h"
#include "app/review/review_text.h"

namespace kaimo {

class ReviewSession {
 public:
  ReviewSession(const Game& game, ControllerWindow& window) : game_(game), window_(window) {}
  // The worker stops its reads and is joined before the rest goes.
  ~ReviewSession() = default;
  ReviewSession(const ReviewSession&) = delete;
  ReviewSession& operator=(const ReviewSession&) = delete;

  // The tick: collects the reads done and starts the ones the history wants.
  void update();

  const GameReview& review() const { return review_; }
  // The evaluation graph: one point per history entry, black's point of
  // view: the review's value of the best move.
  std::vector<GraphPoint> graphPoints() const { return review_.points(game_.history()); }
  // Each move of the history as the review has it so far.
  std::vector<MoveReview> moves() const { return review_.moves(game_.history()); }
  // Once the history ends the game: the summary of each side's costliest
  // moves, or how far the review has come; empty before.
  // Each named move goes through `mark` (see texts::reviewSummaryLines).
  texts::Wording summary(const texts::MoveMark& mark = nullptr) const;
  // Turning the review off stops its reads at once; on, it reads on.
  void setReviewing(bool on);
  // The depth and reach of the reads (kDefaultReviewSettings to begin
  // with); what was read with other settings is forgotten.
  void setSettings(const ReviewSettings& settings);

 private:
  bool collectReads();
  bool batchWanted(const std::vector<ReviewRequest>& wanted) const;
  void startBatch(std::vector<ReviewRequest> positions);
  void stop();

  const Game& game_;
  ControllerWindow& window_;
  GameReview review_;
  // The positions the worker's job was given, and how many have come back.
  std::vector<ReviewRequest> batch_;
  std::size_t batchRead_ = 0;
  bool reviewing_ = true;
  // Declared last, so its thread is joined before anything else goes.
  ReviewWorker reviewer_;
};

}  // namespace kaimo
