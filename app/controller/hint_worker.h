// The hint's worker: values every legal move of a position on a thread of
// its own (see searchMoveValues), beside a running game if need be. It owns
// its stop flag and its result; the controller reads the values found so
// far on its tick and takes the whole set once the worker is done.
#pragma once

#include <mutex>
#include <stop_token>
#include <thread>

#include "engine/search/endgame_analysis.h"
#include "engine/search/search_driver.h"

namespace kaimo {

struct HintProgress {
  SquareValues values;  // SCORE_NONE where not a move or not valued yet
  int done = 0;         // moves valued
  int total = 0;        // legal moves
  bool finished = false;
  bool evalFailed = false;  // the evaluation failed: the values stop there
};

class HintWorker {
 public:
  HintWorker() = default;
  ~HintWorker() { halt(); }
  HintWorker(const HintWorker&) = delete;
  HintWorker& operator=(const HintWorker&) = delete;

  // Starts valuing the moves of `side` on `board` (stopping any hint before).
  void start(const Board& board, int side, const SideSettings& settings);
  HintProgress progress() const;
  // Once progress().finished: joins the thread and returns the result.
  HintProgress take();
  // Stops the hint and waits for its thread; nothing is kept.
  void halt();

 private:
  void run(Board board, int side, SideSettings settings, std::stop_token stop);
  static void noteProgress(const SquareValues& values, int done, int total, void* user);

  std::thread thread_;
  // Replaced by a fresh one once a halt has waited for the thread.
  std::stop_source stop_;
  mutable std::mutex lock_;
  HintProgress progress_;  // under the lock
};

}  // namespace kaimo
