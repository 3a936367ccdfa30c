// One job at a time on a thread of its own, for the window's controller:
// a computer move, the endgame analysis, the hint and the game review each
// run on a Worker.
//
// The worker owns its thread (a std::jthread, with the thread's stop
// request) and the exchange its job reports through. A job is handed over
// by value when it starts, so it never reaches into its owner's state; it
// gets the thread's stop token and the exchange, and returns its result.
// The owner reads both on its timer tick: the progress as it stands, and
// the result once, when the job has returned.
//
// Threads and locks: the exchange has the only lock, held to change or take
// the progress and never while anything else is locked or called. The
// result needs no lock: the job writes it before it sets `finished_`, and
// the owner reads it only after it has seen the flag and joined the thread.
#pragma once

#include <atomic>
#include <optional>
#include <stop_token>
#include <system_error>
#include <thread>
#include <utility>

#include "app/controller/exchange.h"

namespace kaimo {

// `Progress` and `Result` are plain values. A default Result is "nothing
// done": what a job that could not start gives.
template <typename Progress, typename Result>
class Worker {
 public:
  using Exchange = kaimo::Exchange<Progress>;

  Worker() = default;
  // The thread is asked to stop and joined before the exchange goes.
  ~Worker() = default;
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  // Stops the job before, if any, and forgets what it left; then runs
  // `job(stopToken, exchange)` (returning a Result) on a new thread. When no
  // thread can be had, the job ends at once with a default Result.
  template <typename Job>
  void start(Job job) {
    stop();
    forget();
    finished_.store(false, std::memory_order_relaxed);
    started_ = true;
    try {
      thread_ = std::jthread([this, job = std::move(job)](std::stop_token stop) mutable {
        result_ = job(stop, exchange_);
        finished_.store(true, std::memory_order_release);
      });
    } catch (const std::system_error&) {
      result_ = Result{};
      finished_.store(true, std::memory_order_release);
    }
  }

  // Asks the job to stop and waits for its thread. What it reported and
  // returned stays to be taken.
  void stop() {
    if (!thread_.joinable()) return;
    thread_.request_stop();
    thread_.join();
  }

  // A job was started and its result has not been taken yet.
  bool active() const { return started_; }
  // The job has returned (or never could start) and its result waits.
  bool finished() const { return started_ && finished_.load(std::memory_order_acquire); }

  // The progress the job reported since the last take, if it reported.
  std::optional<Progress> takeProgress() { return exchange_.take(); }

  // The job's result, once, after it has returned; none before.
  std::optional<Result> takeResult() {
    if (!finished()) return std::nullopt;
    if (thread_.joinable()) thread_.join();  // it has returned: no wait
    started_ = false;
    return std::exchange(result_, Result{});
  }

  // Stops the job and drops everything it left: the owner has moved on.
  void cancel() {
    stop();
    forget();
  }

 private:
  void forget() {
    exchange_.take();
    started_ = false;
    result_ = Result{};
  }

  // Declared before the thread, so the thread is joined before they go.
  Exchange exchange_;
  Result result_{};
  std::atomic<bool> finished_{false};
  bool started_ = false;  // the owner's thread only
  std::jthread thread_;
};

}  // namespace kaimo
