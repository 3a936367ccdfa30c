#include "app/review/review_batch.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace kaimo {
namespace {

// The reads of readWholeGame's threads on their way to the caller's thread.
struct Arrivals {
  std::mutex lock;
  std::condition_variable arrived;
  std::vector<ReviewResult> reads;  // under the lock
  int reading = 0;                  // threads not finished, under the lock
};

// Every `step`-th position from `first` on: the threads take turns along
// the game, so each gets as many early (cheap) as late (exact) positions.
std::vector<ReviewRequest> everyNth(const std::vector<ReviewRequest>& positions, std::size_t first, std::size_t step) {
  std::vector<ReviewRequest> share;
  for (std::size_t i = first; i < positions.size(); i += step) share.push_back(positions[i]);
  return share;
}

}  // namespace

void readPositions(const std::vector<ReviewRequest>& positions, const ReviewSettings& settings,
                   ReviewEvaluator evaluator, const std::stop_token& stop,
                   const std::function<void(const ReviewResult&)>& onRead) {
  if (positions.empty()) return;
  // The first reader of the process reads the data of "狐", which takes a while.
  PositionReader reader(settings, evaluator);
  for (const ReviewRequest& request : positions) {
    if (stop.stop_requested()) return;
    onRead(ReviewResult{request, reader.read(request.board, request.side, request.played, stop)});
  }
}

void readWholeGame(GameReview& review, const History& history, int threads,
                   const std::function<void(const GameReview&)>& onProgress) {
  const std::vector<ReviewRequest> wanted = review.pending(history);
  if (wanted.empty()) return;
  const ReviewSettings settings = review.settings();
  const ReviewEvaluator evaluator = review.evaluator();
  const std::size_t shares = std::clamp<std::size_t>(threads, 1, wanted.size());
  Arrivals arrivals;
  const auto deliver = [&arrivals](const ReviewResult& result) {
    std::lock_guard hold(arrivals.lock);
    arrivals.reads.push_back(result);
    arrivals.arrived.notify_one();
  };
  std::vector<std::jthread> readers;
  std::vector<ReviewRequest> leftOver;  // the shares of threads that could not start: read here, at the end
  for (std::size_t share = 0; share < shares; ++share) {
    const std::vector<ReviewRequest> positions = everyNth(wanted, share, shares);
    {
      std::lock_guard hold(arrivals.lock);
      ++arrivals.reading;
    }
    try {
      readers.emplace_back([&arrivals, &deliver, positions, settings, evaluator](std::stop_token stop) {
        readPositions(positions, settings, evaluator, stop, deliver);
        std::lock_guard hold(arrivals.lock);
        --arrivals.reading;
        arrivals.arrived.notify_one();
      });
    } catch (const std::system_error&) {
      std::lock_guard hold(arrivals.lock);
      --arrivals.reading;
      leftOver.insert(leftOver.end(), positions.begin(), positions.end());
    }
  }
  std::vector<ReviewResult> reads;
  for (;;) {
    {
      std::unique_lock hold(arrivals.lock);
      arrivals.arrived.wait(hold, [&arrivals] { return !arrivals.reads.empty() || arrivals.reading == 0; });
      if (arrivals.reads.empty()) break;
      reads.swap(arrivals.reads);
    }
    for (const ReviewResult& result : reads) review.record(result.request, result.read);
    reads.clear();
    if (onProgress) onProgress(review);
  }
  readPositions(leftOver, settings, evaluator, {}, [&](const ReviewResult& result) {
    review.record(result.request, result.read);
    if (onProgress) onProgress(review);
  });
}

}  // namespace kaimo
