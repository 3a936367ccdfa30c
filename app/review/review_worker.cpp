#include "app/review/review_worker.h"

#include <algorithm>
#include <system_error>

namespace kaimo {

ReviewWorker::ReviewWorker(int threads) : threadCount_(std::max(1, threads)), reading_(threadCount_) {}

ReviewWorker::~ReviewWorker() { halt(); }

bool ReviewWorker::inFlight(const ReviewRequest& request) const {
  return std::any_of(reading_.begin(), reading_.end(),
                     [&request](const std::optional<ReviewRequest>& r) { return r && *r == request; });
}

void ReviewWorker::request(const std::vector<ReviewRequest>& positions, const ReviewSettings& settings,
                           ReviewEvaluator evaluator) {
  bool changed;
  {
    std::lock_guard hold(lock_);
    changed = settings != settings_ || evaluator != evaluator_;
  }
  if (changed) halt();
  joinFinished();
  std::lock_guard hold(lock_);
  settings_ = settings;
  evaluator_ = evaluator;
  queue_.clear();
  for (const ReviewRequest& position : positions) {
    if (!inFlight(position)) queue_.push_back(position);
  }
  if (running_ > 0 || queue_.empty()) return;
  const int wanted = std::min<int>(threadCount_, static_cast<int>(queue_.size()));
  for (int slot = 0; slot < wanted; ++slot) {
    try {
      threads_.emplace_back(&ReviewWorker::run, this, static_cast<std::size_t>(slot));
      ++running_;
    } catch (const std::system_error&) {
      break;  // fewer threads, or none: the owner asks again later
    }
  }
}

void ReviewWorker::run(std::size_t slot) {
  std::unique_lock hold(lock_);
  const ReviewSettings settings = settings_;
  const ReviewEvaluator evaluator = evaluator_;
  const std::stop_token stop = stop_.get_token();
  hold.unlock();
  // Made without the lock: the first reader of the process reads the data
  // of "狐", which takes a while, and the owner polls on its timer.
  PositionReader reader(settings, evaluator);
  hold.lock();
  while (!queue_.empty() && !stop.stop_requested()) {
    const ReviewRequest request = queue_.front();
    queue_.pop_front();
    reading_[slot] = request;
    hold.unlock();
    const PositionRead read = reader.read(request.board, request.side, request.played, stop);
    hold.lock();
    reading_[slot].reset();
    results_.push_back(ReviewResult{request, read});
  }
  --running_;
  idle_.notify_all();
}

std::vector<ReviewResult> ReviewWorker::collect() {
  std::lock_guard hold(lock_);
  std::vector<ReviewResult> done;
  done.swap(results_);
  return done;
}

bool ReviewWorker::busy() const {
  std::lock_guard hold(lock_);
  return running_ > 0;
}

bool ReviewWorker::waitUntilDone(std::chrono::milliseconds most) {
  std::unique_lock hold(lock_);
  return idle_.wait_for(hold, most, [this] { return running_ == 0; });
}

void ReviewWorker::halt() {
  std::vector<std::thread> threads;
  {
    std::lock_guard hold(lock_);
    queue_.clear();
    threads.swap(threads_);
  }
  if (threads.empty()) return;
  stop_.request_stop();
  for (std::thread& thread : threads) thread.join();
  stop_ = std::stop_source();
}

void ReviewWorker::joinFinished() {
  {
    std::lock_guard hold(lock_);
    if (running_ > 0) return;
  }
  for (std::thread& thread : threads_) thread.join();
  threads_.clear();
}

void readWholeGame(GameReview& review, const History& history, int threads,
                   const std::function<void(const GameReview&)>& onProgress) {
  ReviewWorker worker(threads);
  for (std::vector<ReviewRequest> wanted = review.pending(history); !wanted.empty(); wanted = review.pending(history)) {
    const std::size_t before = review.readCount(history);
    worker.request(wanted, review.settings(), review.evaluator());
    for (bool done = false; !done;) {
      done = worker.waitUntilDone(std::chrono::milliseconds(100));
      for (const ReviewResult& result : worker.collect()) review.record(result.request, result.read);
      if (onProgress) onProgress(review);
    }
    if (review.readCount(history) > before) continue;
    // No thread could be started: the caller's own thread reads.
    PositionReader reader(review.settings(), review.evaluator());
    for (const ReviewRequest& r : wanted) review.record(r, reader.read(r.board, r.side, r.played, {}));
  }
}

}  // namespace kaimo
