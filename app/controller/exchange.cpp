#include "app/controller/exchange.h"

#include "engine/eval/score.h"

namespace kaimo {

void Exchange::postResult(int move, int value) {
  std::lock_guard lock(resultLock_);
  result_.finished = 1;
  result_.move = move;
  result_.value = value;
  result_.workerMarker = 0;
}

void Exchange::postAnalysisDone(const SquareValues& values) {
  std::lock_guard lock(resultLock_);
  result_.finished = 1;
  result_.move = kAnalysisDoneMove;
  result_.value = 0;
  values_ = values;
  result_.workerMarker = 0;
}

void Exchange::publishValues(const SquareValues& values) {
  std::lock_guard lock(resultLock_);
  values_ = values;
}

void Exchange::fetchValues(SquareValues& out) {
  std::lock_guard lock(resultLock_);
  out = values_;
}

void Exchange::resetResult(int marker) {
  std::lock_guard lock(resultLock_);
  result_.finished = 0;
  result_.workerMarker = marker;
  result_.move = -1;
}

ThinkResult Exchange::readResult() {
  std::lock_guard lock(resultLock_);
  return result_;
}

void Exchange::flagEvalError() {
  std::lock_guard lock(resultLock_);
  evalError_ = true;
}

bool Exchange::takeEvalError() {
  std::lock_guard lock(resultLock_);
  const bool flagged = evalError_;
  evalError_ = false;
  return flagged;
}

void Exchange::requestStop(int flag) {
  if (flag != 0) {
    stop_.request_stop();
  } else if (stop_.stop_requested()) {
    stop_ = std::stop_source();
  }
}

void Exchange::setStatusText(int slot, const std::string& text) {
  std::lock_guard lock(statusLock_);
  slots_[slot].text = text;
  slots_[slot].changed = true;
}

bool Exchange::takeStatusText(int slot, std::string& text) {
  std::lock_guard lock(statusLock_);
  if (!slots_[slot].changed) return false;
  slots_[slot].changed = false;
  text = slots_[slot].text;
  return true;
}

void Exchange::publishThinking(const ThinkingLine& line) {
  std::lock_guard lock(statusLock_);
  thinking_ = line;
  thinkingChanged_ = true;
}

bool Exchange::takeThinking(ThinkingLine& line) {
  std::lock_guard lock(statusLock_);
  if (!thinkingChanged_) return false;
  thinkingChanged_ = false;
  line = thinking_;
  return true;
}

void Exchange::clear() {
  {
    std::lock_guard lock(resultLock_);
    result_ = {0, -1, SCORE_NONE, 0};
    values_.fill(SCORE_NONE);
    evalError_ = false;
  }
  requestStop(0);
  std::lock_guard lock(statusLock_);
  slots_ = {};
  thinking_ = {};
  thinkingChanged_ = false;
}

Exchange& exchange() {
  static Exchange instance;
  return instance;
}

}  // namespace kaimo
