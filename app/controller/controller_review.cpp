// The game controller's review: the moves of the game read on the review's
// worker as the game goes, for the evaluation graph and the summary.
#include "app/controller/game_controller.h"
#include "app/controller/game_texts.h"
#include "app/review/review_text.h"

namespace kaimo {

void GameController::updateReview() {
  bool changed = false;
  for (const ReviewResult& result : reviewWorker_.collect()) {
    review_.record(result.request, result.read);
    changed = true;
  }
  if (changed) window_.studyChanged();
  if (!reviewing_) return;
  std::vector<ReviewRequest> wanted = review_.pending(history_);
  if (wanted.empty()) {
    reviewAsked_.clear();
    return;
  }
  if (wanted == reviewAsked_ && reviewWorker_.busy()) return;
  reviewWorker_.request(wanted, review_.settings(), review_.evaluator());
  reviewAsked_ = std::move(wanted);
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
  if (!on) {
    reviewWorker_.halt();
    reviewAsked_.clear();
  }
  window_.studyChanged();
}

void GameController::setReviewSettings(const ReviewSettings& settings) {
  reviewWorker_.halt();
  review_ = GameReview(settings);
  reviewAsked_.clear();
  window_.studyChanged();
}

}  // namespace kaimo
