#include "app/controller/review_session.h"

#include <algorithm>

#include "app/controller/game_texts.h"
#include "app/review/review_text.h"

namespace kaimo {

void ReviewSession::update() {
  bool changed = collectReads();
  if (reviewer_.takeResult()) batch_.clear();
  if (reviewing_) {
    std::vector<ReviewRequest> wanted = review_.pending(game_.history());
    if (!batchWanted(wanted)) {
      // What was read before the stop is kept; what was being read is asked again.
      reviewer_.stop();
      changed |= collectReads();
      startBatch(review_.pending(game_.history()));
    }
  }
  if (changed) window_.studyChanged();
}

bool ReviewSession::collectReads() {
  const std::optional<ReviewProgress> progress = reviewer_.takeProgress();
  if (!progress) return false;
  for (const ReviewResult& result : progress->reads) review_.record(result.request, result.read);
  batchRead_ += progress->reads.size();
  return true;
}

// A batch reads on while every position it has yet to read is still wanted
// (so a move played does not cut short the read in progress); the positions
// wanted besides wait for the next batch. A cut history or another game
// starts a new batch at once.
bool ReviewSession::batchWanted(const std::vector<ReviewRequest>& wanted) const {
  if (!reviewer_.active()) return wanted.empty();
  const auto unread = batch_.begin() + static_cast<std::ptrdiff_t>(std::min(batchRead_, batch_.size()));
  return std::all_of(unread, batch_.end(), [&wanted](const ReviewRequest& position) {
    return std::find(wanted.begin(), wanted.end(), position) != wanted.end();
  });
}

void ReviewSession::startBatch(std::vector<ReviewRequest> positions) {
  reviewer_.cancel();
  batch_ = std::move(positions);
  batchRead_ = 0;
  if (batch_.empty()) return;
  reviewer_.start(
      [job = ReviewJob{batch_, review_.settings(), review_.evaluator()}](
          std::stop_token stop, ReviewWorker::Exchange& exchange) { return readReviewBatch(job, stop, exchange); });
}

// The reads done so far stay in the review.
void ReviewSession::stop() {
  reviewer_.stop();
  collectReads();
  reviewer_.cancel();
  batch_.clear();
}

texts::Wording ReviewSession::summary(const texts::MoveMark& mark) const {
  const History& history = game_.history();
  if (!historyEndsGame(history)) return {};
  const std::size_t total = history.size() - 1;
  const std::size_t read = review_.readCount(history);
  if (read < total) return reviewing_ ? texts::reviewProgressText(read, total) : texts::reviewPausedText(read, total);
  return texts::reviewSummaryText(review_, history, mark);
}

void ReviewSession::setReviewing(bool on) {
  if (on == reviewing_) return;
  reviewing_ = on;
  if (!on) stop();
  window_.studyChanged();
}

void ReviewSession::setSettings(const ReviewSettings& settings) {
  reviewer_.cancel();
  batch_.clear();
  review_ = GameReview(settings);
  window_.studyChanged();
}

}  // namespace kaimo
