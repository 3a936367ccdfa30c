// The review's worker: reads the positions it is given, one after another,
// on threads of its own (one in the window, beside the game's own search;
// two on the command line), each thread with its own table. It owns its
// stop request, and its reads come back as results its owner collects: the
// window's controller on its timer tick, the command line when all are done.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

#include "app/review/game_review.h"

namespace kaimo {

struct ReviewResult {
  ReviewRequest request;
  PositionRead read;
};

class ReviewWorker {
 public:
  explicit ReviewWorker(int threads = 1);
  // Stops the reads and waits for the threads.
  ~ReviewWorker();
  ReviewWorker(const ReviewWorker&) = delete;
  ReviewWorker& operator=(const ReviewWorker&) = delete;

  // The positions to read, in this order, replacing those not begun yet; a
  // position being read is not asked for again. Starts the threads when
  // none runs. New settings stop the reads in progress first.
  void request(const std::vector<ReviewRequest>& positions, const ReviewSettings& settings, ReviewEvaluator evaluator);
  // The reads finished since the last call, in the order they finished.
  std::vector<ReviewResult> collect();
  // A position waits or is being read.
  bool busy() const;
  // Returns once every position asked for has been read, or after `most`:
  // true when all were read.
  bool waitUntilDone(std::chrono::milliseconds most);
  // Stops the reads in progress and waits for the threads; what was not
  // read is dropped (the owner asks again when it wants it).
  void halt();

 private:
  void run(std::size_t slot);
  bool inFlight(const ReviewRequest& request) const;
  void joinFinished();

  const int threadCount_;
  // Replaced by a fresh one once a halt has waited for every thread.
  std::stop_source stop_;
  mutable std::mutex lock_;
  std::condition_variable idle_;
  // Under the lock: what waits, what is being read (one slot per thread),
  // what was read, and the settings the threads read with.
  std::deque<ReviewRequest> queue_;
  std::vector<std::optional<ReviewRequest>> reading_;
  std::vector<ReviewResult> results_;
  ReviewSettings settings_ = kDefaultReviewSettings;
  ReviewEvaluator evaluator_ = ReviewEvaluator::Fox;
  int running_ = 0;
  std::vector<std::thread> threads_;
};

// Reads every move of `history` that `review` does not know yet, on
// `threads` threads, and returns when all are read. `onProgress` (may be
// null) is called on the caller's thread as the reads come in.
void readWholeGame(GameReview& review, const History& history, int threads,
                   const std::function<void(const GameReview&)>& onProgress);

}  // namespace kaimo
