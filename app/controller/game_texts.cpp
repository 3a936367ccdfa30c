#include "app/controller/game_texts.h"

#include <cinttypes>
#include <cstdio>

#include "engine/eval/score.h"

namespace kaimo::texts {
namespace {

template <typename... Args>
std::string format(const char* pattern, Args... args) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, pattern, args...);
  return buffer;
}

}  // namespace

std::string passText(int side) { return format("%sはパスです。", side == 0 ? "黒" : "白"); }

std::string blackCountText(int discs) { return format("黒%d石", discs); }

std::string whiteCountText(int discs) { return format("白%d石", discs); }

std::string gameOverText(int black, int white) { return format("終了 黒%d石 白%d石", black, white); }

std::string evaluationText(int value) { return format("%+.2lf", value / 1000.0); }

std::string progressText(std::int64_t percent, std::int64_t kiloLeavesPerSecond, std::int64_t milliseconds) {
  return format("%" PRId64 "%% %" PRId64 "KLeaf/sec %" PRId64 "msec", percent, kiloLeavesPerSecond, milliseconds);
}

std::string analysisProgressText(double percent, std::int64_t seconds) {
  return format("%6.2lf%%完了 %" PRId64 " sec", percent, seconds);
}

std::string evaluationLine(const char* routineName, int score) {
  if (score == SCORE_EVAL_ERROR) return format("%s error\n", routineName);
  return format("%s %+.2lf\n", routineName, score / static_cast<double>(SCORE_PER_DISC));
}

}  // namespace kaimo::texts
