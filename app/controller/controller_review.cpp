// The game controller's review: the moves of the game read on the review's
// worker as the game goes, for the evaluation graph and the summary.
#include <algorithm>

#include "app/controller/game_controller.h"
#include "app/controller/game_texts.h"
#include "app/review/review_text.h"

namespace kaimo {

void GameController::updateReview() {
  bool changed = collectReviewReads();
  if (reviewer_.takeResult()) reviewBatch_.clear();
  if (reviewing_) {
    std::vector<ReviewRequest> wanted = review_.pending(history_);
    if (!reviewBatchWanted(wanted)) {
      // What was read before the stop is kept; what was being read is asked again.
      reviewer_.stop();
      changed |= collectReviewReads();
      startReviewBatch(review_.pending(history_));
    }
  }
  if (changed) window_.studyChanged();
}

bool GameController::collectReviewReads() {
  const std::optional<ReviewProgress> progress = reviewer_.takeProgress();
  if (!progress) return false;
  for (const ReviewResult& result : progress->reads) review_.record(result.request, result.read);
  reviewBatchRead_ += progress->reads.size();
  return true;
}

// A batch reads on while every position it has yet to read is still wanted
// (so a move played does not cut short the read in progress); the positions
// wanted besides wait for the next batch. A cut history or another game
// starts a new batch at once.
bool GameController::reviewBatchWanted(const std::vector<ReviewRequest>& wanted) const {
  if (!reviewer_.active()) return wanted.empty();
  const auto unread = reviewBatch_.begin() + static_cast<std::ptrdiff_t>(std::min(reviewBatchRead_, reviewBatch_.size()));
  return std::all_of(unread, reviewBatch_.end(), [&wanted](const ReviewRequest& position) {
    return std::find(wanted.begin(), wanted.end(), position) != wanted.end();
  });
}

void GameController::startReviewBatch(std::vector<ReviewRequest> positions) {
  reviewer_.cancel();
  reviewBatch_ = std::move(positions);
  reviewBatchRead_ = 0;
  if (reviewBatch_.empty()) return;
  reviewer_.start([job = ReviewJob{reviewBatch_, review_.settings(), review_.evaluator()}](
                      std::stop_token stop, ReviewWorker::Exchange& exchange) {
    return readReviewBatch(job, stop, exchange);
  });
}

// The reads done so far stay in the review.
void GameController::stopReview() {
  reviewer_.stop();
  collectReviewReads();
  reviewer_.cancel();
  reviewBatch_.clear();
}

std::string GameController::reviewSummary() const {
  if (!historyEndsGame(history_)) return {};
  const std::size_t total = history_.size() - 1;
  const std::size_t read = review_.readCount(history_);
  if (read < total) return reviewing_ ? texts::reviewProgressText(read, total) : texts::reviewPausedText(read, total);
  return texts::reviewSummaryText(review_, history_);
}

void GameController::setReviewing(bool on) {
  if (on == reviewing_) return;
  reviewing_ = on;
  if (!on) stopReview();
  window_.studyChanged();
}

void GameController::setReviewSettings(const ReviewSettings& settings) {
  reviewer_.cancel();
  reviewBatch_.clear();
  review_ = GameReview(settings);
  window_.studyChanged();
}

}  // namespace kaimo
