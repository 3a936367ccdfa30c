#include "app/controller/hint_worker.h"

#include <system_error>

#include "app/controller/move_values.h"
#include "engine/eval/score.h"

namespace kaimo {

void HintWorker::start(const Board& board, int side, const SideSettings& settings) {
  halt();
  {
    std::lock_guard hold(lock_);
    progress_ = HintProgress{};
    progress_.values.fill(SCORE_NONE);
    progress_.total = boardMobility(board, side);
  }
  try {
    thread_ = std::thread(&HintWorker::run, this, board, side, settings, stop_.get_token());
  } catch (const std::system_error&) {
    std::lock_guard hold(lock_);
    progress_.finished = true;  // no thread: an empty hint
  }
}

void HintWorker::run(Board board, int side, SideSettings settings, std::stop_token stop) {
  SquareValues values;
  const MoveValuesResult result = searchMoveValues(board, side, settings, std::move(stop), values, noteProgress, this);
  std::lock_guard hold(lock_);
  progress_.values = values;
  progress_.evalFailed = result.last == SCORE_EVAL_ERROR;
  progress_.finished = true;
}

void HintWorker::noteProgress(const SquareValues& values, int done, int total, void* user) {
  auto* worker = static_cast<HintWorker*>(user);
  std::lock_guard hold(worker->lock_);
  worker->progress_.values = values;
  worker->progress_.done = done;
  worker->progress_.total = total;
}

HintProgress HintWorker::progress() const {
  std::lock_guard hold(lock_);
  return progress_;
}

HintProgress HintWorker::take() {
  if (thread_.joinable()) thread_.join();
  return progress();
}

void HintWorker::halt() {
  if (!thread_.joinable()) return;
  stop_.request_stop();
  thread_.join();
  stop_ = std::stop_source();
}

}  // namespace kaimo
